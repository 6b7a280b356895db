#include "ui/dynamics/DynamicItemBehavior.h"

#include "base/loop/MainThread.h"
#include "ui/dynamics/DynamicBody.h"

#include <algorithm>

namespace ui {

DynamicItemBehavior::DynamicItemBehavior(std::vector<std::shared_ptr<View>> items)
    : DynamicBehavior(std::move(items))
{
    BASE_ASSERT_MAIN_THREAD();
}

void DynamicItemBehavior::setDensity(double density)
{
    BASE_ASSERT_MAIN_THREAD();
    m_density = std::max(0.0, density);
    reconfigure();
}

void DynamicItemBehavior::setResistance(double resistance)
{
    BASE_ASSERT_MAIN_THREAD();
    m_resistance = std::max(0.0, resistance);
    reconfigure();
}

void DynamicItemBehavior::setAllowsRotation(bool allows)
{
    BASE_ASSERT_MAIN_THREAD();
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
    BASE_ASSERT_MAIN_THREAD();
    DynamicBody* body = bodyOf(item);
    if (!body || !body->allowsRotation)
        return;
    body->angularVelocity += velocity;
    wake();
}

} // namespace ui
