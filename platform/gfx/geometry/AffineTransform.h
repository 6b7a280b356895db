// gfx::AffineTransform: a 2-D affine transform (a, b, c, d, tx, ty) in the row-vector convention
// p' = p · M, i.e. x' = a·x + c·y + tx and y' = b·x + d·y + ty. A plain value, any thread.
//
// concat(a, b) applies a, then b. The member forms translated/scaled/rotated put the new step *before* the
// existing transform (t.rotated(r) == concat(makeRotation(r), t)), which is the order the components were
// written against. A positive angle turns clockwise on the y-down screen.
//
//   auto t = gfx::AffineTransform::concat(gfx::AffineTransform::makeRotation(M_PI / 2),
//                                         gfx::AffineTransform::makeScale(2, 2));
//   gfx::Point p = t.apply({ 1, 0 });   // (0, 2)
#pragma once

#include "gfx/geometry/Point.h"
#include "gfx/geometry/Rect.h"
#include "gfx/geometry/Size.h"

#include <optional>

namespace gfx {

struct AffineTransform {
    double a { 1 };
    double b { 0 };
    double c { 0 };
    double d { 1 };
    double tx { 0 };
    double ty { 0 };

    static constexpr AffineTransform identity() { return {}; }
    static AffineTransform makeTranslation(double tx, double ty) { return { 1, 0, 0, 1, tx, ty }; }
    static AffineTransform makeScale(double sx, double sy) { return { sx, 0, 0, sy, 0, 0 }; }
    static AffineTransform makeRotation(double angle);
    static AffineTransform concat(const AffineTransform& first, const AffineTransform& then);

    AffineTransform translated(double x, double y) const { return concat(makeTranslation(x, y), *this); }
    AffineTransform scaled(double sx, double sy) const { return concat(makeScale(sx, sy), *this); }
    AffineTransform rotated(double angle) const { return concat(makeRotation(angle), *this); }

    bool isIdentity() const { return *this == identity(); }
    double determinant() const { return a * d - b * c; }
    // Empty when the transform is singular (a scale of 0, for instance).
    [[nodiscard]] std::optional<AffineTransform> inverted() const;

    Point apply(Point p) const { return { a * p.x + c * p.y + tx, b * p.x + d * p.y + ty }; }
    // A size is a distance: the translation does not apply.
    Size apply(Size s) const { return { a * s.width + c * s.height, b * s.width + d * s.height }; }
    // The bounding box of the four transformed corners; null stays null.
    Rect apply(const Rect& r) const;

    friend bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

} // namespace gfx
