#include "ui/dynamics/PushBehavior.h"

#include "base/loop/MainThread.h"
#include "ui/dynamics/DynamicBody.h"

#include <cmath>

namespace ui {

namespace {

    // Points per second squared (or per second, for an impulse) per unit of magnitude, for a mass of 1.
    constexpr double pushUnit = 100;

} // namespace

PushBehavior::PushBehavior(std::vector<std::shared_ptr<View>> items, PushBehaviorMode mode)
    : DynamicBehavior(std::move(items))
    , m_mode(mode)
{
    BASE_ASSERT_MAIN_THREAD();
}

void PushBehavior::setActive(bool active)
{
    BASE_ASSERT_MAIN_THREAD();
    m_active = active;
    wake();
}

void PushBehavior::setAngle(double angle)
{
    BASE_ASSERT_MAIN_THREAD();
    m_angle = angle;
    wake();
}

void PushBehavior::setMagnitude(double magnitude)
{
    BASE_ASSERT_MAIN_THREAD();
    m_magnitude = magnitude;
    wake();
}

gfx::Vector PushBehavior::pushDirection() const
{
    return { m_magnitude * std::cos(m_angle), m_magnitude * std::sin(m_angle) };
}

void PushBehavior::setPushDirection(gfx::Vector direction)
{
    BASE_ASSERT_MAIN_THREAD();
    m_magnitude = std::hypot(direction.dx, direction.dy);
    m_angle = std::atan2(direction.dy, direction.dx);
    wake();
}

void PushBehavior::applyForces(double seconds)
{
    if (!m_active)
        return;
    gfx::Vector direction = pushDirection();
    for (auto& item : items()) {
        DynamicBody* body = item ? bodyOf(*item) : nullptr;
        if (!body)
            continue;
        double scale = m_mode == PushBehaviorMode::Instantaneous ? pushUnit : pushUnit * seconds;
        body->applyImpulse({ direction.dx * scale, direction.dy * scale });
    }
    if (m_mode == PushBehaviorMode::Instantaneous)
        m_active = false;
}

} // namespace ui
