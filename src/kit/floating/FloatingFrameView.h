// kit::FloatingFrameView: the dark rounded frame of the floating panel: a faint light rim, a body in the base
// colour and a glossy band along the top. Setting the colour or the corner radius redraws it. Main thread.
#pragma once

#include "ui/view/View.h"

#include <optional>

namespace kit {

class FloatingFrameView : public ui::View {
public:
    static constexpr double defaultCornerRadius = 8;
    static constexpr double glossHeight = 22;

    explicit FloatingFrameView(const gfx::Rect& frame = {});

    // Empty: the body is not filled.
    const std::optional<gfx::Color>& baseColor() const { return m_baseColor; }
    void setBaseColor(std::optional<gfx::Color> color);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);

    void drawRect(const gfx::Rect& rect) override;

private:
    double m_cornerRadius { defaultCornerRadius };
    std::optional<gfx::Color> m_baseColor;
};

} // namespace kit
