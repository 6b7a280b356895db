// gfx::Path: a resolution-independent outline of lines and cubic curves in user-space points (moves, lines,
// curves, closes; arcs, ellipses and rounded rectangles are stored as curves). A value, any thread.
//
// Arcs take an explicit direction: Increasing sweeps from the start angle towards larger angles, which on
// the y-down screen looks clockwise; Decreasing sweeps the other way. When the end angle lies "behind" the
// start in the chosen direction the sweep wraps by a full turn, and a sweep is at most one full turn. An
// arc added while a subpath is open is joined to it by a straight line, else it starts a new subpath.
//
//   auto ring = gfx::Path::arc({ 50, 50 }, 40, -M_PI / 2, 0, gfx::ArcDirection::Increasing);  // 12 to 3 o'clock
//   auto box = gfx::Path::roundedRect({ 0, 0, 100, 40 }, 8);
//   bool hit = box.contains({ 50, 20 });
#pragma once

#include "gfx/geometry/AffineTransform.h"
#include "gfx/geometry/Point.h"
#include "gfx/geometry/Rect.h"

#include <optional>
#include <vector>

namespace gfx {

enum class ArcDirection { Increasing, Decreasing };
enum class FillRule { NonZero, EvenOdd };

class Path {
public:
    enum class ElementType { MoveTo, LineTo, CurveTo, Close };
    struct Element {
        ElementType type;
        // MoveTo and LineTo use points[0]; CurveTo uses control 1, control 2, end point; Close uses none.
        Point points[3];
        friend bool operator==(const Element&, const Element&) = default;
    };

    static Path rect(const Rect& r);
    static Path oval(const Rect& r);
    // Corners of `radius`, clamped to half the shorter side.
    static Path roundedRect(const Rect& r, double radius);
    static Path arc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction);

    void moveTo(Point p);
    // A line (or curve) without a current point starts the subpath at its end point instead.
    void lineTo(Point p);
    void curveTo(Point control1, Point control2, Point end);
    void addArc(Point center, double radius, double startAngle, double endAngle, ArcDirection direction);
    // The arc of `radius` tangent to the line from the current point to p1 and to the line from p1 to p2,
    // preceded by a line to its first tangent point. A zero radius or collinear points give a line to p1.
    void addArcToPoint(Point p1, Point p2, double radius);
    // The rectangle's corners (min, min), (max, min), (max, max), (min, max) as a closed subpath.
    void addRect(const Rect& r);
    // The ellipse inscribed in the rectangle, starting at (maxX, midY) and running in increasing angles.
    void addOval(const Rect& r);
    void addRoundedRect(const Rect& r, double radius);
    void addPath(const Path& other);
    void close();

    bool isEmpty() const { return m_elements.empty(); }
    const std::vector<Element>& elements() const { return m_elements; }
    [[nodiscard]] std::optional<Point> currentPoint() const;

    // The smallest rectangle holding every point of the path, curve control points included; null for an
    // empty path.
    Rect boundingBox() const;
    // Whether the point is inside the filled path (open subpaths count as closed).
    bool contains(Point p, FillRule rule = FillRule::NonZero) const;
    Path transformed(const AffineTransform& t) const;

    // The length of everything the path strokes (closes included).
    double length() const;
    // The first `fraction` (0..1) of the path's stroked length, as drawn by a stroke that ends part-way.
    Path leadingPart(double fraction) const;

    friend bool operator==(const Path&, const Path&) = default;

private:
    std::vector<Element> m_elements;
    std::optional<Point> m_subpathStart;
    std::optional<Point> m_current;
};

} // namespace gfx
