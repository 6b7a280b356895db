// kit::FloatingContentOverlayView: the inset edge around the floating panel's content: a band of the edge
// colour between its bounds and a rounded rectangle inside them, casting a soft shadow inwards over the
// content. It takes no touches. Setting the colour or the corner radius redraws it. Main thread.
#pragma once

#include "ui/view/View.h"

#include <optional>

namespace kit {

class FloatingContentOverlayView : public ui::View {
public:
    static constexpr double defaultCornerRadius = 5;
    // The width of the edge band.
    static constexpr double frameWidth() { return 2.0; }

    explicit FloatingContentOverlayView(const gfx::Rect& frame = {});

    // Empty: nothing is drawn.
    const std::optional<gfx::Color>& edgeColor() const { return m_edgeColor; }
    void setEdgeColor(std::optional<gfx::Color> color);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

    void drawRect(const gfx::Rect& rect) override;

private:
    double m_cornerRadius { defaultCornerRadius };
    std::optional<gfx::Color> m_edgeColor;
};

} // namespace kit
