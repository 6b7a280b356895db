// gfx::Point: a position in points (doubles), y growing downwards on screen. A plain value, any thread.
//
//   gfx::Point p { 10, 20 };
//   auto q = p + gfx::Point { 5, 0 };
#pragma once

namespace gfx {

struct Point {
    double x { 0 };
    double y { 0 };

    friend bool operator==(const Point&, const Point&) = default;
    friend Point operator+(Point a, Point b) { return { a.x + b.x, a.y + b.y }; }
    friend Point operator-(Point a, Point b) { return { a.x - b.x, a.y - b.y }; }
    friend Point operator*(Point a, double k) { return { a.x * k, a.y * k }; }
};

} // namespace gfx
