#include "ui/DynamicItemBehavior.h"

#include "ui/DynamicBody.h"

#include <algorithm>

namespace ui {

DynamicItemBehavior::DynamicItemBehavior(std::vector<std::shared_ptr<View>> items)
    : DynamicBehavior(std::move(items))
{
}

void DynamicItemBehavior::setDensity(double density)
{
    m_density = std::max(0.0, density);
    reconfigure();
}

void DynamicItemBehavior::setResistance(double resistance)
{
    m_resistance = std::max(0.0, resistance);
    reconfigure();
}

void DynamicItemBehavior::setAllowsRotation(bool allows)
{
    m_allowsRotation = allows;
    reconfigure();
}

void DynamicItemBehavior::configure(DynamicBody& body) const
{
    body.density = m_density;
    body.resistance = m_resistance;
    body.allowsRotation = m_allowsRotation;
}

void DynamicItemBehavior::reconfigure()
{
    for (auto& item : items()) {
        if (DynamicBody* body = item ? bodyOf(*item) : nullptr)
            configure(*body);
    }
}

void DynamicItemBehavior::addAngularVelocity(double velocity, const View& item)
{
    DynamicBody* body = bodyOf(item);
    if (!body || !body->allowsRotation)
        return;
    body->angularVelocity += velocity;
    wake();
}

} // namespace ui
