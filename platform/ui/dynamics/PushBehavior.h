// ui::PushBehavior: pushes its items in a direction (an angle in radians, clockwise on screen from the x
// axis, and a magnitude). A magnitude of 1 accelerates a 100 x 100-point item of density 1 by 100 points
// per second squared (continuous mode) or gives it 100 points per second at once (instantaneous mode, after
// which the push goes inactive until set active again). A push is active when made. Main thread; made with
// std::make_shared.
//
//   auto push = std::make_shared<ui::PushBehavior>(items, ui::PushBehaviorMode::Instantaneous);
//   push->setPushDirection({ vx / 10, vy / 10 });
//   push->setActive(true);
#pragma once

#include "gfx/geometry/Vector.h"
#include "ui/dynamics/DynamicBehavior.h"

namespace ui {

enum class PushBehaviorMode { Continuous = 0, Instantaneous = 1 };

class PushBehavior : public DynamicBehavior {
public:
    PushBehavior(std::vector<std::shared_ptr<View>> items, PushBehaviorMode mode);

    PushBehaviorMode mode() const { return m_mode; }
    bool active() const { return m_active; }
    void setActive(bool active);
    double angle() const { return m_angle; }
    void setAngle(double angle);
    double magnitude() const { return m_magnitude; }
    void setMagnitude(double magnitude);
    // The angle and magnitude as a vector.
    gfx::Vector pushDirection() const;
    void setPushDirection(gfx::Vector direction);

protected:
    void applyForces(double seconds) override;
    bool hasWorkPending() const override { return m_active && m_magnitude != 0; }

private:
    PushBehaviorMode m_mode;
    bool m_active { true };
    double m_angle { 0 };
    double m_magnitude { 0 };
};

} // namespace ui
