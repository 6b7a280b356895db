// ui::AnimatableValue: a value that a layer property holds and an animation moves between (numbers, points,
// sizes, rectangles, colours, 3-D transforms and paths), with the arithmetic animations need. A value, any
// thread.
//
// Interpolation is linear per component, with two exceptions: transforms that are affine are split into
// scale, skew, rotation and translation and those parts are interpolated (so a turn by a quarter stays a
// turn half-way instead of shrinking), and paths interpolate point by point only when both have the same
// elements (otherwise the value jumps to `to` at once). A progress outside 0..1 (spring overshoot)
// extrapolates; colour components are clamped to 0..1.
//
//   ui::AnimatableValue half = ui::interpolate(0.0, 10.0, 0.5);      // 5.0
//   auto quarter = ui::interpolate(gfx::Transform3D::identity(),
//                                  gfx::Transform3D::makeRotation(M_PI / 2, 0, 0, 1), 0.5);  // a turn by pi/4
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/drawing/Path.h"
#include "gfx/geometry/Point.h"
#include "gfx/geometry/Rect.h"
#include "gfx/geometry/Size.h"
#include "gfx/geometry/Transform3D.h"

#include <variant>

namespace ui {

using AnimatableValue = std::variant<double, gfx::Point, gfx::Size, gfx::Rect, gfx::Color, gfx::Transform3D, gfx::Path>;

// The value `progress` of the way from `from` to `to`; `to` when the kinds differ.
AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double progress);
// The sum of two values (a transform sum applies `a`, then `b`); `b` when the kinds differ or cannot add.
AnimatableValue add(const AnimatableValue& a, const AnimatableValue& b);
// `value` added to itself `times` times (0: the kind's zero; for transforms the identity).
AnimatableValue repeated(const AnimatableValue& value, int times);

// An affine transform as the parts that are interpolated: scale along x then y, a shear of x by y, a turn
// (radians, clockwise on screen) and a translation; compose() gives back the transform.
struct AffineParts {
    double scaleX { 1 };
    double scaleY { 1 };
    double shear { 0 };
    double angle { 0 };
    double translateX { 0 };
    double translateY { 0 };

    static AffineParts decompose(const gfx::AffineTransform& t);
    gfx::AffineTransform compose() const;
};

} // namespace ui
