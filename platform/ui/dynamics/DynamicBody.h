// ui::DynamicBody: the physical state the dynamic animator keeps for one item: centre (in the reference
// view's coordinates), velocity, rotation angle and angular velocity, with the mass and moment of inertia of
// a uniform rectangle of the item's bounds. A mass of 1 is a 100 x 100-point item of density 1. Internal to
// the dynamics. Main thread.
#pragma once

#include "gfx/geometry/Point.h"
#include "gfx/geometry/Size.h"
#include "gfx/geometry/Vector.h"

#include <algorithm>

#include <cmath>
#include <memory>

namespace ui {

class View;

struct DynamicBody {
    std::weak_ptr<View> item;
    gfx::Point center;
    gfx::Vector velocity;
    double angle { 0 };
    double angularVelocity { 0 };
    // The item's own bounds size and the scale of its transform when it joined (kept while it turns).
    gfx::Size size;
    double scale { 1 };
    double density { 1 };
    bool allowsRotation { true };
    // Linear damping, per second.
    double resistance { 0 };

    double mass() const { return std::max(1e-6, density * size.width * size.height / 10000); }
    double inertia() const { return mass() * (size.width * size.width + size.height * size.height) / 12; }

    // Where a point at `offset` from the centre (in the item's unrotated frame) lies now.
    gfx::Point pointAt(gfx::Point offset) const
    {
        double c = std::cos(angle);
        double s = std::sin(angle);
        return { center.x + offset.x * c - offset.y * s, center.y + offset.x * s + offset.y * c };
    }

    void applyImpulse(gfx::Vector impulse)
    {
        velocity.dx += impulse.dx / mass();
        velocity.dy += impulse.dy / mass();
    }
};

} // namespace ui
