// ui::SnapBehavior: pulls an item's centre to a point and turns it upright, as a damped spring; damping runs
// from 0 (the most overshoot) to 1 (none). Main thread; made with std::make_shared.
//
//   auto snap = std::make_shared<ui::SnapBehavior>(image, view->center());
//   snap->setDamping(1.0);
#pragma once

#include "gfx/geometry/Point.h"
#include "ui/dynamics/DynamicBehavior.h"

namespace ui {

class SnapBehavior : public DynamicBehavior {
public:
    SnapBehavior(std::shared_ptr<View> item, gfx::Point snapPoint);

    gfx::Point snapPoint() const { return m_point; }
    void setSnapPoint(gfx::Point point);
    double damping() const { return m_damping; }
    void setDamping(double damping);

protected:
    void applyForces(double seconds) override;
    bool hasWorkPending() const override;

private:
    gfx::Point m_point;
    double m_damping { 0.5 };
};

} // namespace ui
