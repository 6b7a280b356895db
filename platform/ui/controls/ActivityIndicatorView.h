// ui::ActivityIndicatorView: the spinning wheel of twelve spokes: large white (37 x 37 points), white or grey
// (20 x 20). startAnimating shows it and turns it (a repeating rotation drawn by the renderer; the model does
// not change); stopAnimating stops it and, with hidesWhenStopped (the default), hides it. A new indicator
// is stopped, so hidden. Main thread.
//
//   auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
//   spinner->setCenter({ 160, 240 });
//   spinner->startAnimating();
#pragma once

#include "ui/view/View.h"

namespace ui {

enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

class ActivityIndicatorView : public View {
public:
    // One turn of the wheel.
    static constexpr double period = 1;

    explicit ActivityIndicatorView(ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);

    ActivityIndicatorViewStyle style() const { return m_style; }
    // Resizes the view to the style's size, keeping its centre.
    void setStyle(ActivityIndicatorViewStyle style);
    // Empty: the style's colour.
    gfx::Color color() const;
    void setColor(std::optional<gfx::Color> color);
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    bool isAnimating() const { return m_animating; }
    void startAnimating();
    void stopAnimating();

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void drawRect(const gfx::Rect& rect) override;

private:
    ActivityIndicatorViewStyle m_style;
    std::optional<gfx::Color> m_color;
    bool m_hidesWhenStopped { true };
    bool m_animating { false };
};

} // namespace ui
