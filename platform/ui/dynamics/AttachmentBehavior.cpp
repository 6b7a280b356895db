#include "ui/dynamics/AttachmentBehavior.h"

#include "base/loop/MainThread.h"
#include "ui/dynamics/DynamicBody.h"

#include <cmath>

namespace ui {

namespace {

    // A rigid tie is solved by repeated projection; a few passes per step keep it tight under a fast finger.
    constexpr int solverPasses = 4;
    constexpr double slack = 0.5;

} // namespace

AttachmentBehavior::AttachmentBehavior(std::shared_ptr<View> item, gfx::Point offsetFromCenter, gfx::Point anchorPoint)
    : DynamicBehavior({ std::move(item) })
    , m_offset(offsetFromCenter)
    , m_anchor(anchorPoint)
{
    BASE_ASSERT_MAIN_THREAD();
}

void AttachmentBehavior::setAnchorPoint(gfx::Point anchor)
{
    BASE_ASSERT_MAIN_THREAD();
    m_anchor = anchor;
    wake();
}

void AttachmentBehavior::setLength(double length)
{
    BASE_ASSERT_MAIN_THREAD();
    m_length = std::max(0.0, length);
    wake();
}

void AttachmentBehavior::didJoinAnimator()
{
    DynamicBody* body = items().front() ? bodyOf(*items().front()) : nullptr;
    if (!body || m_length)
        return;
    gfx::Point p = body->pointAt(m_offset);
    m_length = std::hypot(p.x - m_anchor.x, p.y - m_anchor.y);
}

void AttachmentBehavior::applyConstraints()
{
    DynamicBody* body = items().front() ? bodyOf(*items().front()) : nullptr;
    if (!body || !m_length)
        return;
    for (int pass = 0; pass < solverPasses; ++pass) {
        gfx::Point p = body->pointAt(m_offset);
        double dx = p.x - m_anchor.x;
        double dy = p.y - m_anchor.y;
        double distance = std::hypot(dx, dy);
        double error = distance - *m_length;
        if (distance < 1e-9 || std::abs(error) < 1e-9)
            return;
        double nx = dx / distance;
        double ny = dy / distance;
        // The arm from the centre to the tied point, and how strongly a push along n turns the body.
        double rx = p.x - body->center.x;
        double ry = p.y - body->center.y;
        double turn = body->allowsRotation ? rx * ny - ry * nx : 0;
        double weight = 1 / body->mass() + (body->allowsRotation ? turn * turn / body->inertia() : 0);
        double lambda = -error / weight;
        body->center.x += nx * lambda / body->mass();
        body->center.y += ny * lambda / body->mass();
        if (body->allowsRotation)
            body->angle += turn * lambda / body->inertia();
    }
}

bool AttachmentBehavior::hasWorkPending() const
{
    DynamicBody* body = items().front() ? bodyOf(*items().front()) : nullptr;
    if (!body || !m_length)
        return false;
    gfx::Point p = body->pointAt(m_offset);
    return std::abs(std::hypot(p.x - m_anchor.x, p.y - m_anchor.y) - *m_length) > slack;
}

} // namespace ui
