// ui::DynamicBehavior: what a dynamic animator applies to its items on every step: forces and impulses
// before the bodies move (push, snap), position constraints after (attachment), or the items' physical
// properties (item behaviour). A behaviour belongs to at most one animator. Main thread; made with
// std::make_shared.
//
//   animator->addBehavior(attachment);
//   animator->removeBehavior(attachment);    // harmless when it was never added
#pragma once

#include <memory>
#include <vector>

namespace ui {

class DynamicAnimator;
class View;
struct DynamicBody;

class DynamicBehavior : public std::enable_shared_from_this<DynamicBehavior> {
public:
    virtual ~DynamicBehavior() = default;
    DynamicBehavior(const DynamicBehavior&) = delete;
    DynamicBehavior& operator=(const DynamicBehavior&) = delete;

    const std::vector<std::shared_ptr<View>>& items() const { return m_items; }
    // The animator it was added to, while it is there.
    std::shared_ptr<DynamicAnimator> dynamicAnimator() const { return m_animator.lock(); }

protected:
    explicit DynamicBehavior(std::vector<std::shared_ptr<View>> items)
        : m_items(std::move(items))
    {
    }

    // The animator's body of `item`, or nullptr.
    DynamicBody* bodyOf(const View& item) const;
    // Tells a resting animator that this behaviour has something to do again.
    void wake();

    // One integration step of `seconds`: forces and impulses before the bodies move, constraints after.
    virtual void applyForces(double /*seconds*/) { }
    virtual void applyConstraints() { }
    // Sets the properties of a body just made for one of the items.
    virtual void configure(DynamicBody&) const { }
    // Called once the behaviour has joined an animator and its items have bodies.
    virtual void didJoinAnimator() { }
    // Whether the behaviour still pushes or pulls when the bodies are still (a pending push, a snap away
    // from its point, an attachment out of place).
    virtual bool hasWorkPending() const { return false; }

private:
    friend class DynamicAnimator;

    std::vector<std::shared_ptr<View>> m_items;
    std::weak_ptr<DynamicAnimator> m_animator;
};

} // namespace ui
