// gfx::Rect: an origin and a size in points, with the null rectangle ("no rectangle") and the rectangle
// functions the components rely on. A plain value, any thread.
//
// Getters and functions work on the standardized rectangle (negative sizes flipped), so (10, 0, -5, 5) has
// minX 5 and maxX 10. The null rectangle contains no point, is what disjoint rectangles intersect to, and
// stays null through inset, offset and integral.
//
//   gfx::Rect frame(0, 0, 320, 44);
//   if (frame.contains({ 10, 43.5 })) ...           // half-open: the max edges are outside
//   auto [slice, rest] = frame.divided(20, gfx::Rect::Edge::MinX);
#pragma once

#include "gfx/geometry/Point.h"
#include "gfx/geometry/Size.h"

#include <utility>

namespace gfx {

struct Rect {
    enum class Edge { MinX, MinY, MaxX, MaxY };

    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(double x, double y, double width, double height)
        : origin { x, y }
        , size { width, height }
    {
    }
    constexpr Rect(Point o, Size s)
        : origin(o)
        , size(s)
    {
    }

    static Rect null();
    static constexpr Rect zero() { return {}; }

    bool isNull() const;
    // Null, or without area.
    bool isEmpty() const;
    Rect standardized() const;

    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;
    Point center() const { return { midX(), midY() }; }

    // min <= p < max on both axes; false for the null rectangle.
    bool contains(Point p) const;
    // The common part, or null when the rectangles do not meet (touching edges give a zero-width part).
    Rect intersection(const Rect& other) const;
    // Splits off a slice `amount` wide (clamped to the rectangle) at `edge`; returns {slice, remainder}.
    std::pair<Rect, Rect> divided(double amount, Edge edge) const;
    // Moved in by dx on the left and right and dy at the top and bottom; negative values grow it. Null when
    // the result would have a negative size.
    Rect insetBy(double dx, double dy) const;
    // Smallest rectangle with whole-number edges that holds this one: floor of the min edges, ceil of the max.
    Rect integral() const;
    Rect offsetBy(double dx, double dy) const;
    Rect offsetBy(Point delta) const { return offsetBy(delta.x, delta.y); }

    // Equal after standardizing both; all null rectangles are equal.
    friend bool operator==(const Rect& a, const Rect& b);
};

} // namespace gfx
