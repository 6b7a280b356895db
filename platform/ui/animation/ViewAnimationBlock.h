// ui::ViewAnimationBlock: the open view-animation blocks (View::animateWithDuration and the begin/commit
// form), innermost last. While one is open, a change of an animatable property of a view's own layer becomes
// an animation with the block's duration, delay and timing: from the old model value (or from what is drawn,
// when the block begins from the current state) to the new one. A 0-duration block applies changes at once:
// it removes any running animation of the property, which counts as interrupting it.
//
// The block's completion runs at start + delay + duration with finished = true, or on the turn after the
// first of its animations is interrupted (removed, or replaced by a later animation of the same property
// from another block) with finished = false. Changing one property twice in one block keeps one animation
// from the first old value to the last new one. Internal to the UI library. Main thread.
#pragma once

#include "base/loop/RunLoop.h"
#include "ui/animation/AnimatableValue.h"
#include "ui/animation/AnimationStopObserver.h"
#include "ui/animation/TimingFunction.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {

class Layer;

class ViewAnimationGroup final : public AnimationStopObserver, public std::enable_shared_from_this<ViewAnimationGroup> {
public:
    explicit ViewAnimationGroup(std::function<void(bool)> completion)
        : m_completion(std::move(completion))
    {
    }
    void animationStopped(bool finished) override;
    void scheduleEnd(double seconds);

private:
    std::function<void(bool)> m_completion;
    bool m_done { false };
    // Weak: the scheduled task keeps this group alive, not the other way round.
    std::weak_ptr<base::RunLoop::ScheduledTask> m_end;
};

struct ViewAnimationBlock {
    double duration { 0.2 };
    double delay { 0 };
    TimingFunction timing { TimingFunction::named(TimingFunction::Name::EaseInEaseOut) };
    bool beginsFromCurrentState { false };
    std::shared_ptr<ViewAnimationGroup> group;

    // The innermost open block, or nullptr.
    static ViewAnimationBlock* current();
    static void push(ViewAnimationBlock block);
    // Closes the innermost block and schedules its completion.
    static void pop();

    // Turns the change of `keyPath` on `layer` (whose model already holds the new value) into an animation.
    void animate(Layer& layer, const std::string& keyPath, const AnimatableValue& oldValue,
        const AnimatableValue& drawnValue) const;
};

} // namespace ui
