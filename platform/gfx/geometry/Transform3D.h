// gfx::Transform3D: a 4x4 transform of layers in the row-vector convention p' = p · M (m41..m43 are the
// translation, m34 gives perspective: identity with m34 = -1/d views the layer from distance d).
// A plain value, any thread.
//
// concat(a, b) applies a, then b. translated/scaled/rotated put the new step *before* the existing
// transform: makeScale(p, 1, 1).translated(d, 0, 0) has m41 == p·d, because the translation runs first.
//
//   auto door = gfx::Transform3D::identity();
//   door.m34 = -0.001;
//   door = door.rotated(M_PI / 4, 0, 1, 0);
#pragma once

#include "gfx/geometry/AffineTransform.h"
#include "gfx/geometry/Point.h"

#include <optional>

namespace gfx {

struct Transform3D {
    double m11 { 1 }, m12 { 0 }, m13 { 0 }, m14 { 0 };
    double m21 { 0 }, m22 { 1 }, m23 { 0 }, m24 { 0 };
    double m31 { 0 }, m32 { 0 }, m33 { 1 }, m34 { 0 };
    double m41 { 0 }, m42 { 0 }, m43 { 0 }, m44 { 1 };

    static constexpr Transform3D identity() { return {}; }
    static Transform3D makeTranslation(double tx, double ty, double tz);
    static Transform3D makeScale(double sx, double sy, double sz);
    // Rotation by `angle` about the axis (x, y, z); a zero axis gives the identity. About (0, 0, 1) it turns
    // like AffineTransform::makeRotation.
    static Transform3D makeRotation(double angle, double x, double y, double z);
    static Transform3D makeAffine(const AffineTransform& t);
    static Transform3D concat(const Transform3D& first, const Transform3D& then);

    Transform3D translated(double tx, double ty, double tz) const { return concat(makeTranslation(tx, ty, tz), *this); }
    Transform3D scaled(double sx, double sy, double sz) const { return concat(makeScale(sx, sy, sz), *this); }
    Transform3D rotated(double angle, double x, double y, double z) const
    {
        return concat(makeRotation(angle, x, y, z), *this);
    }

    bool isIdentity() const { return *this == identity(); }
    // True when the transform maps the z = 0 plane by an affine transform with no depth or perspective.
    bool isAffine() const;
    // The 2-D part (m11, m12, m21, m22, m41, m42).
    AffineTransform affine() const { return { m11, m12, m21, m22, m41, m42 }; }
    [[nodiscard]] std::optional<Transform3D> inverted() const;

    // Maps a point of the z = 0 plane, with the perspective divide; a point sent to infinity comes back as
    // (inf, inf).
    Point apply(Point p) const;

    friend bool operator==(const Transform3D&, const Transform3D&) = default;
};

} // namespace gfx
