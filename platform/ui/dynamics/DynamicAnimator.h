// ui::DynamicAnimator: a minimal two-dimensional rigid-body simulation of views in a reference view. Each
// item of its behaviours gets a body (its centre and rotation as they are when it joins, at rest); on every
// display frame the animator moves the bodies under the behaviours (impulses and forces, then constraints)
// and writes each item's centre and transform (a rotation). It steps while it has behaviours and something
// moves, and pauses when everything rests. Removing a behaviour drops the bodies no other behaviour holds,
// with their velocities. Main thread; made with std::make_shared.
//
//   auto animator = std::make_shared<ui::DynamicAnimator>(viewerView);
//   auto drag = std::make_shared<ui::AttachmentBehavior>(imageView, gfx::Point { 20, -10 }, finger);
//   animator->addBehavior(drag);
//   drag->setAnchorPoint(finger);   // on each move of the finger
#pragma once

#include "gfx/geometry/Vector.h"
#include "ui/dynamics/DynamicAnimatorDelegate.h"
#include "ui/dynamics/DynamicBody.h"

#include "base/time/Clock.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace ui {

class DynamicBehavior;
class View;

class DynamicAnimator : public std::enable_shared_from_this<DynamicAnimator> {
public:
    explicit DynamicAnimator(const std::shared_ptr<View>& referenceView);
    ~DynamicAnimator();
    DynamicAnimator(const DynamicAnimator&) = delete;
    DynamicAnimator& operator=(const DynamicAnimator&) = delete;

    std::shared_ptr<View> referenceView() const { return m_referenceView.lock(); }
    std::shared_ptr<DynamicAnimatorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<DynamicAnimatorDelegate> delegate) { m_delegate = std::move(delegate); }

    // A behaviour in another animator moves to this one; adding one twice does nothing.
    void addBehavior(const std::shared_ptr<DynamicBehavior>& behavior);
    void removeBehavior(const std::shared_ptr<DynamicBehavior>& behavior);
    void removeAllBehaviors();
    const std::vector<std::shared_ptr<DynamicBehavior>>& behaviors() const { return m_behaviors; }

    bool isRunning() const { return m_frameObserver != 0; }
    // Zero for an item without a body.
    gfx::Vector linearVelocityForItem(const View& item) const;
    double angularVelocityForItem(const View& item) const;

private:
    friend class DynamicBehavior;

    DynamicBody* bodyOf(const View& item);
    void syncBodies();
    DynamicBody makeBody(const std::shared_ptr<View>& item) const;
    void resume();
    void pause();
    void step(base::Clock::TimePoint instant);
    void integrate(double seconds);
    bool isAtRest() const;
    void writeItems();

    std::weak_ptr<View> m_referenceView;
    std::weak_ptr<DynamicAnimatorDelegate> m_delegate;
    std::vector<std::shared_ptr<DynamicBehavior>> m_behaviors;
    std::map<const View*, DynamicBody> m_bodies;
    uint64_t m_frameObserver { 0 };
    base::Clock::TimePoint m_lastFrame;
};

} // namespace ui
