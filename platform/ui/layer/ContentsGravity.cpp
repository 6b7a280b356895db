#include "ui/layer/ContentsGravity.h"

#include <algorithm>

namespace ui {

gfx::Rect contentsRect(ContentsGravity gravity, gfx::Size size, const gfx::Rect& bounds)
{
    double x = bounds.minX(), y = bounds.minY(), w = bounds.width(), h = bounds.height();
    switch (gravity) {
    case ContentsGravity::Resize:
        return { x, y, w, h };
    case ContentsGravity::ResizeAspect:
    case ContentsGravity::ResizeAspectFill: {
        if (size.width <= 0 || size.height <= 0)
            return { x, y, w, h };
        double sx = w / size.width, sy = h / size.height;
        double k = gravity == ContentsGravity::ResizeAspect ? std::min(sx, sy) : std::max(sx, sy);
        double cw = size.width * k, ch = size.height * k;
        return { x + (w - cw) / 2, y + (h - ch) / 2, cw, ch };
    }
    default:
        break;
    }
    double left = x, centreX = x + (w - size.width) / 2, right = x + w - size.width;
    double top = y, centreY = y + (h - size.height) / 2, bottom = y + h - size.height;
    switch (gravity) {
    case ContentsGravity::Top:
        return { centreX, top, size.width, size.height };
    case ContentsGravity::Bottom:
        return { centreX, bottom, size.width, size.height };
    case ContentsGravity::Left:
        return { left, centreY, size.width, size.height };
    case ContentsGravity::Right:
        return { right, centreY, size.width, size.height };
    case ContentsGravity::TopLeft:
        return { left, top, size.width, size.height };
    case ContentsGravity::TopRight:
        return { right, top, size.width, size.height };
    case ContentsGravity::BottomLeft:
        return { left, bottom, size.width, size.height };
    case ContentsGravity::BottomRight:
        return { right, bottom, size.width, size.height };
    default:
        return { centreX, centreY, size.width, size.height };
    }
}

} // namespace ui
