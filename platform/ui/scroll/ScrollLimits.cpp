#include "ui/scroll/ScrollLimits.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // How strongly the distance past an edge is damped: 0.55 makes the first points follow the finger at about
    // half speed, as users expect of a rubber band.
    constexpr double rubberBandStiffness = 0.55;

    double rubberBandedAxis(double proposed, double min, double max, double dimension)
    {
        if (dimension <= 0)
            return std::clamp(proposed, min, max);
        auto damp = [dimension](double distance) {
            return dimension * (1 - 1 / (distance * rubberBandStiffness / dimension + 1));
        };
        if (proposed < min)
            return min - damp(min - proposed);
        if (proposed > max)
            return max + damp(proposed - max);
        return proposed;
    }

} // namespace

ScrollLimits ScrollLimits::make(gfx::Size contentSize, gfx::Size boundsSize, gfx::EdgeInsets inset)
{
    gfx::Point min { -inset.left, -inset.top };
    gfx::Point max { contentSize.width + inset.right - boundsSize.width,
        contentSize.height + inset.bottom - boundsSize.height };
    return { min, { std::max(min.x, max.x), std::max(min.y, max.y) } };
}

bool ScrollLimits::contains(gfx::Point offset) const
{
    return offset.x >= min.x && offset.x <= max.x && offset.y >= min.y && offset.y <= max.y;
}

gfx::Point ScrollLimits::clamped(gfx::Point offset) const
{
    return { std::clamp(offset.x, min.x, max.x), std::clamp(offset.y, min.y, max.y) };
}

gfx::Point ScrollLimits::rubberBanded(gfx::Point proposed, gfx::Size boundsSize) const
{
    return { rubberBandedAxis(proposed.x, min.x, max.x, boundsSize.width),
        rubberBandedAxis(proposed.y, min.y, max.y, boundsSize.height) };
}

} // namespace ui
