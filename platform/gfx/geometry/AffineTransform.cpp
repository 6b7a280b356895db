#include "gfx/geometry/AffineTransform.h"

#include <algorithm>
#include <cmath>

namespace gfx {

AffineTransform AffineTransform::makeRotation(double angle)
{
    double s = std::sin(angle);
    double co = std::cos(angle);
    return { co, s, -s, co, 0, 0 };
}

AffineTransform AffineTransform::concat(const AffineTransform& m, const AffineTransform& n)
{
    return {
        m.a * n.a + m.b * n.c,
        m.a * n.b + m.b * n.d,
        m.c * n.a + m.d * n.c,
        m.c * n.b + m.d * n.d,
        m.tx * n.a + m.ty * n.c + n.tx,
        m.tx * n.b + m.ty * n.d + n.ty,
    };
}

std::optional<AffineTransform> AffineTransform::inverted() const
{
    double det = determinant();
    if (det == 0 || !std::isfinite(det))
        return std::nullopt;
    AffineTransform r { d / det, -b / det, -c / det, a / det, 0, 0 };
    r.tx = -(tx * r.a + ty * r.c);
    r.ty = -(tx * r.b + ty * r.d);
    return r;
}

Rect AffineTransform::apply(const Rect& rect) const
{
    if (rect.isNull())
        return Rect::null();
    Point corners[4] = {
        apply(Point { rect.minX(), rect.minY() }),
        apply(Point { rect.maxX(), rect.minY() }),
        apply(Point { rect.minX(), rect.maxY() }),
        apply(Point { rect.maxX(), rect.maxY() }),
    };
    double x1 = corners[0].x, x2 = corners[0].x, y1 = corners[0].y, y2 = corners[0].y;
    for (const Point& p : corners) {
        x1 = std::min(x1, p.x);
        x2 = std::max(x2, p.x);
        y1 = std::min(y1, p.y);
        y2 = std::max(y2, p.y);
    }
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace gfx
