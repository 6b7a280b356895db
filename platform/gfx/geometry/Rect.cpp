#include "gfx/geometry/Rect.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gfx {

Rect Rect::null()
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    return Rect(infinity, infinity, 0, 0);
}

bool Rect::isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }

bool Rect::isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

Rect Rect::standardized() const
{
    Rect r = *this;
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

double Rect::minX() const { return std::min(origin.x, origin.x + size.width); }
double Rect::maxX() const { return std::max(origin.x, origin.x + size.width); }
double Rect::midX() const { return origin.x + size.width / 2; }
double Rect::minY() const { return std::min(origin.y, origin.y + size.height); }
double Rect::maxY() const { return std::max(origin.y, origin.y + size.height); }
double Rect::midY() const { return origin.y + size.height / 2; }
double Rect::width() const { return std::abs(size.width); }
double Rect::height() const { return std::abs(size.height); }

bool Rect::contains(Point p) const
{
    if (isNull())
        return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

Rect Rect::intersection(const Rect& other) const
{
    if (isNull() || other.isNull())
        return null();
    double x1 = std::max(minX(), other.minX());
    double x2 = std::min(maxX(), other.maxX());
    double y1 = std::max(minY(), other.minY());
    double y2 = std::min(maxY(), other.maxY());
    if (x2 < x1 || y2 < y1)
        return null();
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

std::pair<Rect, Rect> Rect::divided(double amount, Edge edge) const
{
    if (isNull())
        return { null(), null() };
    Rect r = standardized();
    bool horizontal = edge == Edge::MinX || edge == Edge::MaxX;
    double extent = horizontal ? r.size.width : r.size.height;
    amount = std::clamp(amount, 0.0, extent);
    Rect slice = r;
    Rect remainder = r;
    switch (edge) {
    case Edge::MinX:
        slice.size.width = amount;
        remainder.origin.x += amount;
        remainder.size.width -= amount;
        break;
    case Edge::MaxX:
        slice.origin.x = r.maxX() - amount;
        slice.size.width = amount;
        remainder.size.width -= amount;
        break;
    case Edge::MinY:
        slice.size.height = amount;
        remainder.origin.y += amount;
        remainder.size.height -= amount;
        break;
    case Edge::MaxY:
        slice.origin.y = r.maxY() - amount;
        slice.size.height = amount;
        remainder.size.height -= amount;
        break;
    }
    return { slice, remainder };
}

Rect Rect::insetBy(double dx, double dy) const
{
    if (isNull())
        return null();
    Rect r = standardized();
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0)
        return null();
    return r;
}

Rect Rect::integral() const
{
    if (isNull())
        return null();
    double x1 = std::floor(minX());
    double y1 = std::floor(minY());
    double x2 = std::ceil(maxX());
    double y2 = std::ceil(maxY());
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

Rect Rect::offsetBy(double dx, double dy) const
{
    if (isNull())
        return null();
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

bool operator==(const Rect& a, const Rect& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    Rect sa = a.standardized();
    Rect sb = b.standardized();
    return sa.origin == sb.origin && sa.size == sb.size;
}

} // namespace gfx
