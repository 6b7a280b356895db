#include "ui/animation/ViewAnimationBlock.h"

#include "base/loop/MainThread.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/layer/Layer.h"
#include "ui/animation/Transaction.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

    std::vector<ViewAnimationBlock>& blocks()
    {
        static std::vector<ViewAnimationBlock> open;
        return open;
    }

} // namespace

void ViewAnimationGroup::animationStopped(bool finished)
{
    if (finished || m_done)
        return;
    m_done = true;
    base::RunLoop::main().cancel(m_end.lock());
    if (m_completion)
        base::RunLoop::main().post([completion = std::move(m_completion)] { completion(false); });
    m_completion = nullptr;
}

void ViewAnimationGroup::scheduleEnd(double seconds)
{
    if (m_done)
        return;
    auto self = shared_from_this();
    m_end = base::RunLoop::main().performAfter(base::Duration(seconds), [self] {
        if (self->m_done)
            return;
        self->m_done = true;
        if (auto completion = std::move(self->m_completion))
            completion(true);
    });
}

ViewAnimationBlock* ViewAnimationBlock::current() { return blocks().empty() ? nullptr : &blocks().back(); }

void ViewAnimationBlock::push(ViewAnimationBlock block)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!block.group)
        block.group = std::make_shared<ViewAnimationGroup>(nullptr);
    blocks().push_back(std::move(block));
}

void ViewAnimationBlock::pop()
{
    BASE_ASSERT_MAIN_THREAD();
    if (blocks().empty())
        return;
    ViewAnimationBlock block = std::move(blocks().back());
    blocks().pop_back();
    block.group->scheduleEnd(std::max(block.delay, 0.0) + std::max(block.duration, 0.0));
}

void ViewAnimationBlock::animate(
    Layer& layer, const std::string& keyPath, const AnimatableValue& oldValue, const AnimatableValue& drawnValue) const
{
    if (duration <= 0) {
        layer.removeAnimation(keyPath);
        return;
    }
    AnimatableValue from = beginsFromCurrentState ? drawnValue : oldValue;
    std::vector<std::shared_ptr<AnimationStopObserver>> observers { group };
    // A second change of the same property in this block continues the animation the first one made.
    Layer::RunningAnimation* existing = layer.runningAnimation(keyPath);
    if (existing
        && std::find(existing->observers.begin(), existing->observers.end(), group) != existing->observers.end()) {
        auto earlier = std::dynamic_pointer_cast<BasicAnimation>(existing->animation);
        if (earlier && earlier->fromValue())
            from = *earlier->fromValue();
        std::optional<Layer::RunningAnimation> taken = layer.takeAnimation(keyPath);
        observers = std::move(taken->observers);
    } else {
        auto transactions = Transaction::observersForNewAnimation();
        observers.insert(observers.end(), transactions.begin(), transactions.end());
    }

    auto animation = std::make_shared<BasicAnimation>(keyPath);
    animation->setFromValue(from);
    animation->setToValue(valueForKeyPath(layer.model(), keyPath));
    animation->setDuration(duration);
    animation->setBeginTime(std::max(delay, 0.0));
    animation->setTimingFunction(timing);
    // During the delay the old value stays on screen.
    animation->setFillMode(FillMode::Backwards);
    layer.attach(animation, keyPath, std::move(observers));
}

} // namespace ui
