#include "ui/dynamics/DynamicAnimator.h"

#include "base/loop/MainThread.h"
#include "gfx/geometry/AffineTransform.h"
#include "ui/dynamics/DynamicBehavior.h"
#include "ui/render/FrameClock.h"
#include "ui/view/View.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace ui {

namespace {

    constexpr double longestSubstep = 1.0 / 240;
    // Bodies slower than this (points and radians per second) count as resting.
    constexpr double restSpeed = 0.5;
    constexpr double restSpin = 0.005;

} // namespace

DynamicAnimator::DynamicAnimator(const std::shared_ptr<View>& referenceView)
    : m_referenceView(referenceView)
{
}

DynamicAnimator::~DynamicAnimator()
{
    if (m_frameObserver)
        FrameClock::main().removeFrameObserver(m_frameObserver);
}

void DynamicAnimator::addBehavior(const std::shared_ptr<DynamicBehavior>& behavior)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!behavior || std::find(m_behaviors.begin(), m_behaviors.end(), behavior) != m_behaviors.end())
        return;
    if (auto other = behavior->m_animator.lock())
        other->removeBehavior(behavior);
    m_behaviors.push_back(behavior);
    behavior->m_animator = weak_from_this();
    syncBodies();
    behavior->didJoinAnimator();
    resume();
}

void DynamicAnimator::removeBehavior(const std::shared_ptr<DynamicBehavior>& behavior)
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = std::find(m_behaviors.begin(), m_behaviors.end(), behavior);
    if (found == m_behaviors.end())
        return;
    m_behaviors.erase(found);
    behavior->m_animator.reset();
    syncBodies();
    if (m_behaviors.empty())
        pause();
}

void DynamicAnimator::removeAllBehaviors()
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto& behavior : std::exchange(m_behaviors, {}))
        behavior->m_animator.reset();
    syncBodies();
    pause();
}

DynamicBody* DynamicAnimator::bodyOf(const View& item)
{
    auto found = m_bodies.find(&item);
    return found == m_bodies.end() ? nullptr : &found->second;
}

gfx::Vector DynamicAnimator::linearVelocityForItem(const View& item) const
{
    auto found = m_bodies.find(&item);
    return found == m_bodies.end() ? gfx::Vector {} : found->second.velocity;
}

double DynamicAnimator::angularVelocityForItem(const View& item) const
{
    auto found = m_bodies.find(&item);
    return found == m_bodies.end() ? 0 : found->second.angularVelocity;
}

void DynamicAnimator::syncBodies()
{
    std::set<const View*> wanted;
    for (auto& behavior : m_behaviors) {
        for (auto& item : behavior->items()) {
            if (!item)
                continue;
            wanted.insert(item.get());
            if (m_bodies.contains(item.get()))
                continue;
            DynamicBody body = makeBody(item);
            for (auto& configuring : m_behaviors) {
                auto& items = configuring->items();
                if (std::find(items.begin(), items.end(), item) != items.end())
                    configuring->configure(body);
            }
            m_bodies.emplace(item.get(), body);
        }
    }
    std::erase_if(m_bodies, [&](const auto& entry) { return !wanted.contains(entry.first); });
}

DynamicBody DynamicAnimator::makeBody(const std::shared_ptr<View>& item) const
{
    DynamicBody body;
    body.item = item;
    gfx::Point center = item->center();
    auto superview = item->superview();
    auto reference = m_referenceView.lock();
    if (superview && reference && superview != reference)
        center = superview->convertPointTo(center, reference.get());
    body.center = center;
    gfx::AffineTransform t = item->transform();
    body.angle = std::atan2(t.b, t.a);
    body.scale = std::hypot(t.a, t.b);
    body.size = item->bounds().size;
    return body;
}

void DynamicAnimator::resume()
{
    if (m_frameObserver || m_behaviors.empty())
        return;
    if (auto delegate = m_delegate.lock())
        delegate->dynamicAnimatorWillResume(*this);
    m_lastFrame = FrameClock::main().now();
    m_frameObserver
        = FrameClock::main().addFrameObserver([weak = weak_from_this()](base::Clock::TimePoint instant, uint64_t) {
              if (auto self = weak.lock())
                  self->step(instant);
          });
}

void DynamicAnimator::pause()
{
    if (!m_frameObserver)
        return;
    FrameClock::main().removeFrameObserver(std::exchange(m_frameObserver, 0));
    if (auto delegate = m_delegate.lock())
        delegate->dynamicAnimatorDidPause(*this);
}

void DynamicAnimator::step(base::Clock::TimePoint instant)
{
    auto keepAlive = shared_from_this();
    double seconds = base::Duration(instant - m_lastFrame).count();
    m_lastFrame = instant;
    std::erase_if(m_bodies, [](const auto& entry) { return entry.second.item.expired(); });
    if (seconds > 0)
        integrate(seconds);
    writeItems();
    if (isAtRest())
        pause();
}

void DynamicAnimator::integrate(double seconds)
{
    int substeps = static_cast<int>(std::ceil(seconds / longestSubstep));
    double h = seconds / substeps;
    for (int i = 0; i < substeps; ++i) {
        for (auto& behavior : m_behaviors)
            behavior->applyForces(h);
        std::map<const View*, std::pair<gfx::Point, double>> before;
        for (auto& [item, body] : m_bodies) {
            before[item] = { body.center, body.angle };
            double damping = 1 / (1 + body.resistance * h);
            body.velocity = { body.velocity.dx * damping, body.velocity.dy * damping };
            body.center = { body.center.x + body.velocity.dx * h, body.center.y + body.velocity.dy * h };
            if (body.allowsRotation)
                body.angle += body.angularVelocity * h;
            else
                body.angularVelocity = 0;
        }
        for (auto& behavior : m_behaviors)
            behavior->applyConstraints();
        // Constraints move bodies directly; their velocities follow from where they ended up.
        for (auto& [item, body] : m_bodies) {
            auto [center, angle] = before[item];
            body.velocity = { (body.center.x - center.x) / h, (body.center.y - center.y) / h };
            body.angularVelocity = (body.angle - angle) / h;
        }
    }
}

bool DynamicAnimator::isAtRest() const
{
    for (auto& behavior : m_behaviors) {
        if (behavior->hasWorkPending())
            return false;
    }
    return std::all_of(m_bodies.begin(), m_bodies.end(), [](const auto& entry) {
        const DynamicBody& body = entry.second;
        return std::hypot(body.velocity.dx, body.velocity.dy) < restSpeed && std::abs(body.angularVelocity) < restSpin;
    });
}

void DynamicAnimator::writeItems()
{
    auto reference = m_referenceView.lock();
    for (auto& [key, body] : m_bodies) {
        auto item = body.item.lock();
        if (!item)
            continue;
        gfx::Point center = body.center;
        auto superview = item->superview();
        if (superview && reference && superview != reference)
            center = superview->convertPointFrom(center, reference.get());
        item->setCenter(center);
        item->setTransform(gfx::AffineTransform::concat(
            gfx::AffineTransform::makeScale(body.scale, body.scale), gfx::AffineTransform::makeRotation(body.angle)));
    }
}

} // namespace ui
