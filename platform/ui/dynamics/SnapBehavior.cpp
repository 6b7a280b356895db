#include "ui/dynamics/SnapBehavior.h"

#include "base/loop/MainThread.h"
#include "ui/dynamics/DynamicBody.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

    // The spring's angular frequency (radians per second) and the least damping ratio, at damping 0.
    constexpr double frequency = 15;
    constexpr double leastDampingRatio = 0.2;
    constexpr double arrivedDistance = 0.5;
    constexpr double arrivedAngle = 0.005;

} // namespace

SnapBehavior::SnapBehavior(std::shared_ptr<View> item, gfx::Point snapPoint)
    : DynamicBehavior({ std::move(item) })
    , m_point(snapPoint)
{
    BASE_ASSERT_MAIN_THREAD();
}

void SnapBehavior::setSnapPoint(gfx::Point point)
{
    BASE_ASSERT_MAIN_THREAD();
    m_point = point;
    wake();
}

void SnapBehavior::setDamping(double damping)
{
    BASE_ASSERT_MAIN_THREAD();
    m_damping = std::clamp(damping, 0.0, 1.0);
    wake();
}

void SnapBehavior::applyForces(double seconds)
{
    DynamicBody* body = items().front() ? bodyOf(*items().front()) : nullptr;
    if (!body)
        return;
    double ratio = leastDampingRatio + (1 - leastDampingRatio) * m_damping;
    double stiffness = frequency * frequency;
    double friction = 2 * ratio * frequency;
    body->velocity.dx += (-stiffness * (body->center.x - m_point.x) - friction * body->velocity.dx) * seconds;
    body->velocity.dy += (-stiffness * (body->center.y - m_point.y) - friction * body->velocity.dy) * seconds;
    body->angularVelocity += (-stiffness * body->angle - friction * body->angularVelocity) * seconds;
}

bool SnapBehavior::hasWorkPending() const
{
    DynamicBody* body = items().front() ? bodyOf(*items().front()) : nullptr;
    if (!body)
        return false;
    return std::hypot(body->center.x - m_point.x, body->center.y - m_point.y) > arrivedDistance
        || std::abs(body->angle) > arrivedAngle;
}

} // namespace ui
