#include "gfx/drawing/Path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx {

namespace {

    constexpr double pi = std::numbers::pi;
    constexpr int curveSamples = 64;

    Point lerp(Point a, Point b, double t) { return { a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t }; }

    double distance(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

    Point bezierPoint(const Point (&c)[4], double t)
    {
        double u = 1 - t;
        double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        return { w0 * c[0].x + w1 * c[1].x + w2 * c[2].x + w3 * c[3].x,
            w0 * c[0].y + w1 * c[1].y + w2 * c[2].y + w3 * c[3].y };
    }

    // A drawable piece of the path: a straight line (from, to) or a cubic curve (from, c1, c2, to).
    struct Segment {
        bool curve;
        Point p[4];
    };

    Segment lineSegment(Point from, Point to)
    {
        Segment s { false, {} };
        s.p[0] = from;
        s.p[1] = to;
        return s;
    }

    Segment curveSegment(Point from, Point control1, Point control2, Point to)
    {
        Segment s { true, {} };
        s.p[0] = from;
        s.p[1] = control1;
        s.p[2] = control2;
        s.p[3] = to;
        return s;
    }

    double segmentLength(const Segment& s)
    {
        if (!s.curve)
            return distance(s.p[0], s.p[1]);
        double length = 0;
        Point previous = s.p[0];
        for (int i = 1; i <= curveSamples; ++i) {
            Point next = bezierPoint(s.p, static_cast<double>(i) / curveSamples);
            length += distance(previous, next);
            previous = next;
        }
        return length;
    }

    // The curve parameter at which the arc length from the start reaches `target`.
    double curveParameterAtLength(const Segment& s, double target)
    {
        double length = 0;
        Point previous = s.p[0];
        for (int i = 1; i <= curveSamples; ++i) {
            Point next = bezierPoint(s.p, static_cast<double>(i) / curveSamples);
            double step = distance(previous, next);
            if (length + step >= target) {
                double within = step > 0 ? (target - length) / step : 0;
                return (i - 1 + within) / curveSamples;
            }
            length += step;
            previous = next;
        }
        return 1;
    }

    // Calls `visit(segment, element index)` for every line, curve and closing line of the path, and
    // `startSubpath()` where a new subpath begins.
    template <typename Visit, typename Start>
    void forEachSegment(const std::vector<Path::Element>& elements, Visit visit, Start startSubpath)
    {
        Point current, start;
        bool open = false;
        for (size_t i = 0; i < elements.size(); ++i) {
            const Path::Element& e = elements[i];
            switch (e.type) {
            case Path::ElementType::MoveTo:
                current = start = e.points[0];
                startSubpath(current);
                open = true;
                break;
            case Path::ElementType::LineTo:
                if (!open) {
                    startSubpath(current);
                    open = true;
                }
                visit(lineSegment(current, e.points[0]), i);
                current = e.points[0];
                break;
            case Path::ElementType::CurveTo:
                if (!open) {
                    startSubpath(current);
                    open = true;
                }
                visit(curveSegment(current, e.points[0], e.points[1], e.points[2]), i);
                current = e.points[2];
                break;
            case Path::ElementType::Close:
                visit(lineSegment(current, start), i);
                current = start;
                open = false;
                break;
            }
        }
    }

} // namespace

Path Path::rect(const Rect& r)
{
    Path path;
    path.addRect(r);
    return path;
}

Path Path::oval(const Rect& r)
{
    Path path;
    path.addOval(r);
    return path;
}

Path Path::roundedRect(const Rect& r, double radius)
{
    Path path;
    path.addRoundedRect(r, radius);
    return path;
}

Path Path::arc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction)
{
    Path path;
    path.addArc(center, radius, startAngle, endAngle, direction);
    return path;
}

void Path::moveTo(Point p)
{
    m_elements.push_back({ ElementType::MoveTo, { p } });
    m_subpathStart = p;
    m_current = p;
}

void Path::lineTo(Point p)
{
    if (!m_current) {
        moveTo(p);
        return;
    }
    m_elements.push_back({ ElementType::LineTo, { p } });
    m_current = p;
}

void Path::curveTo(Point control1, Point control2, Point end)
{
    if (!m_current) {
        moveTo(end);
        return;
    }
    m_elements.push_back({ ElementType::CurveTo, { control1, control2, end } });
    m_current = end;
}

void Path::addArc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction)
{
    radius = std::max(radius, 0.0);
    Point start { center.x + radius * std::cos(startAngle), center.y + radius * std::sin(startAngle) };
    if (!m_current)
        moveTo(start);
    else if (*m_current != start)
        lineTo(start);

    double delta = direction == ArcDirection::Increasing ? endAngle - startAngle : startAngle - endAngle;
    if (delta < 0) {
        delta = std::fmod(delta, 2 * pi);
        if (delta < 0)
            delta += 2 * pi;
    }
    delta = std::min(delta, 2 * pi);
    if (delta == 0 || radius == 0)
        return;
    double sweep = direction == ArcDirection::Increasing ? delta : -delta;

    int segments = std::max(1, static_cast<int>(std::ceil(delta / (pi / 2) - 1e-9)));
    double step = sweep / segments;
    double k = 4.0 / 3.0 * std::tan(step / 4) * radius;
    double a0 = startAngle;
    for (int i = 0; i < segments; ++i) {
        double a1 = startAngle + step * (i + 1);
        Point p0 { center.x + radius * std::cos(a0), center.y + radius * std::sin(a0) };
        Point p1 { center.x + radius * std::cos(a1), center.y + radius * std::sin(a1) };
        Point c1 { p0.x - k * std::sin(a0), p0.y + k * std::cos(a0) };
        Point c2 { p1.x + k * std::sin(a1), p1.y - k * std::cos(a1) };
        curveTo(c1, c2, p1);
        a0 = a1;
    }
}

void Path::addArcToPoint(Point p1, Point p2, double radius)
{
    if (!m_current) {
        moveTo(p1);
        return;
    }
    Point p0 = *m_current;
    Point d1 = p0 - p1;
    Point d2 = p2 - p1;
    double l1 = std::hypot(d1.x, d1.y);
    double l2 = std::hypot(d2.x, d2.y);
    double cross = d1.x * d2.y - d1.y * d2.x;
    if (radius <= 0 || l1 == 0 || l2 == 0 || std::abs(cross) <= 1e-12 * l1 * l2) {
        lineTo(p1);
        return;
    }
    Point u1 = d1 * (1 / l1);
    Point u2 = d2 * (1 / l2);
    double angle = std::acos(std::clamp(u1.x * u2.x + u1.y * u2.y, -1.0, 1.0));
    double tangentDistance = radius / std::tan(angle / 2);
    Point t1 = p1 + u1 * tangentDistance;
    Point t2 = p1 + u2 * tangentDistance;
    Point bisector = u1 + u2;
    bisector = bisector * (1 / std::hypot(bisector.x, bisector.y));
    Point center = p1 + bisector * (radius / std::sin(angle / 2));
    // Travelling p0 -> p1 -> p2 turns right (clockwise on screen) when the cross product of the incoming
    // and outgoing directions is positive; the arc then runs in increasing angles.
    ArcDirection direction = -cross > 0 ? ArcDirection::Increasing : ArcDirection::Decreasing;
    lineTo(t1);
    double a1 = std::atan2(t1.y - center.y, t1.x - center.x);
    double a2 = std::atan2(t2.y - center.y, t2.x - center.x);
    addArc(center, radius, a1, a2, direction);
}

void Path::addRect(const Rect& r)
{
    if (r.isNull())
        return;
    moveTo({ r.minX(), r.minY() });
    lineTo({ r.maxX(), r.minY() });
    lineTo({ r.maxX(), r.maxY() });
    lineTo({ r.minX(), r.maxY() });
    close();
}

void Path::addOval(const Rect& r)
{
    if (r.isNull())
        return;
    // A unit circle's curves scaled into the rectangle.
    Path circle = arc({ 0, 0 }, 1, 0, 2 * pi, ArcDirection::Increasing);
    circle.close();
    auto t = AffineTransform::concat(AffineTransform::makeScale(r.width() / 2, r.height() / 2),
        AffineTransform::makeTranslation(r.midX(), r.midY()));
    addPath(circle.transformed(t));
}

void Path::addRoundedRect(const Rect& r, double radius)
{
    if (r.isNull())
        return;
    radius = std::clamp(radius, 0.0, std::min(r.width(), r.height()) / 2);
    if (radius == 0) {
        addRect(r);
        return;
    }
    double x1 = r.minX(), x2 = r.maxX(), y1 = r.minY(), y2 = r.maxY();
    // The shape is a subpath of its own, not joined to an open one.
    m_current.reset();
    addArc({ x2 - radius, y1 + radius }, radius, -pi / 2, 0, ArcDirection::Increasing);
    addArc({ x2 - radius, y2 - radius }, radius, 0, pi / 2, ArcDirection::Increasing);
    addArc({ x1 + radius, y2 - radius }, radius, pi / 2, pi, ArcDirection::Increasing);
    addArc({ x1 + radius, y1 + radius }, radius, pi, 3 * pi / 2, ArcDirection::Increasing);
    close();
}

void Path::addPath(const Path& other)
{
    for (const Element& e : other.m_elements) {
        switch (e.type) {
        case ElementType::MoveTo:
            moveTo(e.points[0]);
            break;
        case ElementType::LineTo:
            lineTo(e.points[0]);
            break;
        case ElementType::CurveTo:
            curveTo(e.points[0], e.points[1], e.points[2]);
            break;
        case ElementType::Close:
            close();
            break;
        }
    }
}

void Path::close()
{
    if (!m_current || m_elements.empty() || m_elements.back().type == ElementType::Close)
        return;
    m_elements.push_back({ ElementType::Close, {} });
    m_current = m_subpathStart;
}

std::optional<Point> Path::currentPoint() const { return m_current; }

Rect Path::boundingBox() const
{
    if (m_elements.empty())
        return Rect::null();
    double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
    for (const Element& e : m_elements) {
        int count = e.type == ElementType::CurveTo ? 3 : e.type == ElementType::Close ? 0 : 1;
        for (int i = 0; i < count; ++i) {
            x1 = std::min(x1, e.points[i].x);
            y1 = std::min(y1, e.points[i].y);
            x2 = std::max(x2, e.points[i].x);
            y2 = std::max(y2, e.points[i].y);
        }
    }
    return Rect(x1, y1, x2 - x1, y2 - y1);
}

bool Path::contains(Point p, FillRule rule) const
{
    // Winding number over the flattened outline; each subpath is closed implicitly.
    int winding = 0;
    auto edge = [&](Point a, Point b) {
        double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0)
                ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    };
    std::optional<Point> subpathStart;
    Point last;
    auto closeSubpath = [&] {
        if (subpathStart)
            edge(last, *subpathStart);
    };
    forEachSegment(
        m_elements,
        [&](const Segment& s, size_t) {
            if (!s.curve) {
                edge(s.p[0], s.p[1]);
            } else {
                Point previous = s.p[0];
                for (int i = 1; i <= curveSamples; ++i) {
                    Point next = bezierPoint(s.p, static_cast<double>(i) / curveSamples);
                    edge(previous, next);
                    previous = next;
                }
            }
            last = s.curve ? s.p[3] : s.p[1];
        },
        [&](Point start) {
            closeSubpath();
            subpathStart = start;
            last = start;
        });
    closeSubpath();
    return rule == FillRule::EvenOdd ? (winding % 2 != 0) : winding != 0;
}

Path Path::transformed(const AffineTransform& t) const
{
    Path result = *this;
    for (Element& e : result.m_elements)
        for (Point& point : e.points)
            point = t.apply(point);
    if (result.m_current)
        result.m_current = t.apply(*result.m_current);
    if (result.m_subpathStart)
        result.m_subpathStart = t.apply(*result.m_subpathStart);
    return result;
}

double Path::length() const
{
    double total = 0;
    forEachSegment(
        m_elements, [&](const Segment& s, size_t) { total += segmentLength(s); }, [](Point) {});
    return total;
}

Path Path::leadingPart(double fraction) const
{
    if (fraction >= 1)
        return *this;
    Path result;
    if (fraction <= 0)
        return result;
    double target = fraction * length();
    double covered = 0;
    bool done = false;
    size_t copied = 0;
    // Copies whole elements up to the segment where the target length falls, then a cut piece of it.
    forEachSegment(
        m_elements,
        [&](const Segment& s, size_t index) {
            if (done)
                return;
            double length = segmentLength(s);
            if (covered + length <= target) {
                covered += length;
                for (; copied <= index; ++copied)
                    result.m_elements.push_back(m_elements[copied]);
                return;
            }
            for (; copied < index; ++copied)
                result.m_elements.push_back(m_elements[copied]);
            double remaining = target - covered;
            if (!s.curve) {
                Point end = lerp(s.p[0], s.p[1], length > 0 ? remaining / length : 0);
                result.m_elements.push_back({ ElementType::LineTo, { end } });
            } else {
                double t = curveParameterAtLength(s, remaining);
                Point ab = lerp(s.p[0], s.p[1], t), bc = lerp(s.p[1], s.p[2], t), cd = lerp(s.p[2], s.p[3], t);
                Point abc = lerp(ab, bc, t), bcd = lerp(bc, cd, t);
                result.m_elements.push_back({ ElementType::CurveTo, { ab, abc, lerp(abc, bcd, t) } });
            }
            done = true;
        },
        [](Point) {});
    if (!done) {
        for (; copied < m_elements.size(); ++copied)
            result.m_elements.push_back(m_elements[copied]);
    }
    // Rebuild the open-subpath bookkeeping from the copied elements.
    Path rebuilt;
    rebuilt.addPath(result);
    return rebuilt;
}

} // namespace gfx
