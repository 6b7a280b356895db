// ui::DynamicItemBehavior: the physical properties of its items: density (mass per area), resistance
// (linear damping per second), whether they may turn, and elasticity and friction (kept for callers; the
// simulation has no collisions). It also adds spin to an item. Main thread; made with std::make_shared.
//
//   auto physics = std::make_shared<ui::DynamicItemBehavior>(std::vector { image });
//   physics->setFriction(0.2);
//   physics->addAngularVelocity(3.0, *image);
#pragma once

#include "ui/dynamics/DynamicBehavior.h"

namespace ui {

class DynamicItemBehavior : public DynamicBehavior {
public:
    explicit DynamicItemBehavior(std::vector<std::shared_ptr<View>> items);

    double density() const { return m_density; }
    void setDensity(double density);
    double resistance() const { return m_resistance; }
    void setResistance(double resistance);
    bool allowsRotation() const { return m_allowsRotation; }
    void setAllowsRotation(bool allows);
    double elasticity() const { return m_elasticity; }
    void setElasticity(double elasticity) { m_elasticity = elasticity; }
    double friction() const { return m_friction; }
    void setFriction(double friction) { m_friction = friction; }

    // Radians per second added to the item's spin; nothing for an item the animator does not hold.
    void addAngularVelocity(double velocity, const View& item);

protected:
    void configure(DynamicBody& body) const override;

private:
    void reconfigure();

    double m_density { 1 };
    double m_resistance { 0 };
    bool m_allowsRotation { true };
    double m_elasticity { 0 };
    double m_friction { 0 };
};

} // namespace ui
