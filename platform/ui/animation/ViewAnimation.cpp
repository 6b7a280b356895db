// ui::View: the view-animation entry points, over ViewAnimationBlock.
#include "ui/view/View.h"

#include "base/loop/MainThread.h"
#include "ui/animation/ViewAnimationBlock.h"

#include <vector>

namespace ui {

namespace {

    TimingFunction timingFor(AnimationCurve curve)
    {
        switch (curve) {
        case AnimationCurve::EaseIn:
            return TimingFunction::named(TimingFunction::Name::EaseIn);
        case AnimationCurve::EaseOut:
            return TimingFunction::named(TimingFunction::Name::EaseOut);
        case AnimationCurve::Linear:
            return TimingFunction::named(TimingFunction::Name::Linear);
        default:
            return TimingFunction::named(TimingFunction::Name::EaseInEaseOut);
        }
    }

    AnimationCurve curveOf(unsigned options) { return static_cast<AnimationCurve>((options >> 16) & 0xF); }

    // Closes the block it opened even when the animations throw.
    class OpenBlock {
    public:
        explicit OpenBlock(ViewAnimationBlock block) { ViewAnimationBlock::push(std::move(block)); }
        ~OpenBlock() { ViewAnimationBlock::pop(); }
        OpenBlock(const OpenBlock&) = delete;
        OpenBlock& operator=(const OpenBlock&) = delete;
    };

    struct BegunAnimation {
        std::string name;
        std::any context;
        View::AnimationDidStop didStop;
    };

    std::vector<std::shared_ptr<BegunAnimation>>& begunAnimations()
    {
        static std::vector<std::shared_ptr<BegunAnimation>> begun;
        return begun;
    }

    void run(ViewAnimationBlock block, const std::function<void()>& animations)
    {
        BASE_ASSERT_MAIN_THREAD();
        OpenBlock open(std::move(block));
        if (animations)
            animations();
    }

} // namespace

void View::animateWithDuration(
    double duration, const std::function<void()>& animations, std::function<void(bool)> completion)
{
    animateWithDuration(duration, 0, 0, animations, std::move(completion));
}

void View::animateWithDuration(double duration, double delay, unsigned options, const std::function<void()>& animations,
    std::function<void(bool)> completion)
{
    run(ViewAnimationBlock { duration, delay, timingFor(curveOf(options)),
            (options & AnimationOptions::BeginFromCurrentState) != 0,
            std::make_shared<ViewAnimationGroup>(std::move(completion)) },
        animations);
}

void View::animateWithDurationUsingSpring(double duration, double delay, double damping, double velocity,
    unsigned options, const std::function<void()>& animations, std::function<void(bool)> completion)
{
    run(ViewAnimationBlock { duration, delay, TimingFunction::spring(damping, velocity),
            (options & AnimationOptions::BeginFromCurrentState) != 0,
            std::make_shared<ViewAnimationGroup>(std::move(completion)) },
        animations);
}

void View::beginAnimations(std::string name, std::any context)
{
    BASE_ASSERT_MAIN_THREAD();
    auto begun = std::make_shared<BegunAnimation>(BegunAnimation { std::move(name), std::move(context), {} });
    begunAnimations().push_back(begun);
    ViewAnimationBlock block;
    block.group = std::make_shared<ViewAnimationGroup>([begun](bool finished) {
        if (begun->didStop)
            begun->didStop(begun->name, finished, begun->context);
    });
    ViewAnimationBlock::push(std::move(block));
}

void View::setAnimationDuration(double duration)
{
    if (auto* block = ViewAnimationBlock::current())
        block->duration = duration;
}

void View::setAnimationDelay(double delay)
{
    if (auto* block = ViewAnimationBlock::current())
        block->delay = delay;
}

void View::setAnimationCurve(AnimationCurve curve)
{
    if (auto* block = ViewAnimationBlock::current())
        block->timing = timingFor(curve);
}

void View::setAnimationBeginsFromCurrentState(bool fromCurrentState)
{
    if (auto* block = ViewAnimationBlock::current())
        block->beginsFromCurrentState = fromCurrentState;
}

void View::setAnimationDidStop(AnimationDidStop didStop)
{
    if (!begunAnimations().empty())
        begunAnimations().back()->didStop = std::move(didStop);
}

void View::commitAnimations()
{
    if (begunAnimations().empty())
        return;
    begunAnimations().pop_back();
    ViewAnimationBlock::pop();
}

} // namespace ui
