#include "ui/animation/Transaction.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "ui/animation/AnimationStopObserver.h"

#include <optional>

namespace ui {

namespace {

    // Counts the animations of one transaction still running, and runs its block once they have all stopped
    // and the transaction is committed.
    class TransactionCompletion final : public AnimationStopObserver {
    public:
        void animationAdded() { ++m_running; }
        void animationStopped(bool) override
        {
            if (m_running > 0)
                --m_running;
            runIfDone();
        }
        void commit(std::function<void()> block)
        {
            m_block = std::move(block);
            m_committed = true;
            runIfDone();
        }

    private:
        void runIfDone()
        {
            if (!m_committed || m_running > 0 || !m_block)
                return;
            base::RunLoop::main().post(std::move(m_block));
            m_block = nullptr;
        }

        int m_running { 0 };
        bool m_committed { false };
        std::function<void()> m_block;
    };

    struct Level {
        bool implicit { false };
        std::optional<double> duration;
        std::optional<TimingFunction> timing;
        std::optional<bool> disableActions;
        std::function<void()> completion;
        std::shared_ptr<TransactionCompletion> tracker { std::make_shared<TransactionCompletion>() };
    };

    std::vector<Level>& stack()
    {
        static std::vector<Level> levels;
        return levels;
    }

    Level& innermost()
    {
        if (stack().empty()) {
            Level implicit;
            implicit.implicit = true;
            stack().push_back(std::move(implicit));
        }
        return stack().back();
    }

    void commitInnermost()
    {
        Level level = std::move(stack().back());
        stack().pop_back();
        level.tracker->commit(std::move(level.completion));
    }

} // namespace

void Transaction::begin()
{
    BASE_ASSERT_MAIN_THREAD();
    stack().push_back(Level {});
}

void Transaction::commit()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!stack().empty() && !stack().back().implicit)
        commitInnermost();
}

double Transaction::animationDuration()
{
    for (auto level = stack().rbegin(); level != stack().rend(); ++level) {
        if (level->duration)
            return *level->duration;
    }
    return 0.25;
}

void Transaction::setAnimationDuration(double seconds) { innermost().duration = seconds; }

TimingFunction Transaction::animationTimingFunction()
{
    for (auto level = stack().rbegin(); level != stack().rend(); ++level) {
        if (level->timing)
            return *level->timing;
    }
    return TimingFunction::named(TimingFunction::Name::Default);
}

void Transaction::setAnimationTimingFunction(const TimingFunction& timing) { innermost().timing = timing; }

bool Transaction::disableActions()
{
    for (auto level = stack().rbegin(); level != stack().rend(); ++level) {
        if (level->disableActions)
            return *level->disableActions;
    }
    return false;
}

void Transaction::setDisableActions(bool disable) { innermost().disableActions = disable; }

void Transaction::setCompletionBlock(std::function<void()> block) { innermost().completion = std::move(block); }

void Transaction::flush()
{
    while (!stack().empty())
        commitInnermost();
}

std::vector<std::shared_ptr<AnimationStopObserver>> Transaction::observersForNewAnimation()
{
    innermost();
    std::vector<std::shared_ptr<AnimationStopObserver>> observers;
    for (Level& level : stack()) {
        level.tracker->animationAdded();
        observers.push_back(level.tracker);
    }
    return observers;
}

} // namespace ui
