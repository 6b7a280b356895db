#include "ui/view/UpdateCycle.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "ui/animation/Transaction.h"
#include "ui/layer/Layer.h"
#include "ui/render/FrameClock.h"
#include "ui/view/View.h"

#include <algorithm>
#include <unordered_set>

namespace ui {

namespace {

    // A view that marks itself again on each layout stops being laid out after this many rounds in one pass,
    // and waits for the next turn.
    constexpr int maxLayoutRounds = 16;

    size_t depthOf(const View& view)
    {
        size_t depth = 0;
        for (auto parent = view.superview(); parent; parent = parent->superview())
            ++depth;
        return depth;
    }

    template <typename T> std::vector<std::shared_ptr<T>> aliveAndUnique(std::vector<std::weak_ptr<T>>& entries)
    {
        std::vector<std::shared_ptr<T>> alive;
        std::unordered_set<T*> seen;
        for (auto& weak : entries) {
            if (auto strong = weak.lock(); strong && seen.insert(strong.get()).second)
                alive.push_back(std::move(strong));
        }
        entries.clear();
        return alive;
    }

} // namespace

UpdateCycle& UpdateCycle::main()
{
    static UpdateCycle* cycle = new UpdateCycle;
    return *cycle;
}

UpdateCycle::UpdateCycle()
{
    base::RunLoop::main().addEndOfTurnObserver([this] { endOfTurn(); });
}

void UpdateCycle::scheduleLayout(std::weak_ptr<View> view) { m_layout.push_back(std::move(view)); }

void UpdateCycle::scheduleDisplay(std::weak_ptr<Layer> layer) { m_display.push_back(std::move(layer)); }

void UpdateCycle::runPasses()
{
    BASE_ASSERT_MAIN_THREAD();
    layoutPass();
    displayPass();
}

void UpdateCycle::layoutPass()
{
    for (int round = 0; round < maxLayoutRounds && !m_layout.empty(); ++round) {
        std::vector<std::shared_ptr<View>> views = aliveAndUnique(m_layout);
        std::stable_sort(
            views.begin(), views.end(), [](const auto& a, const auto& b) { return depthOf(*a) < depthOf(*b); });
        for (const auto& view : views) {
            if (view->needsLayout())
                view->layoutIfNeeded();
        }
    }
}

void UpdateCycle::displayPass()
{
    std::vector<std::shared_ptr<Layer>> layers = aliveAndUnique(m_display);
    for (const auto& layer : layers) {
        if (!layer->needsDisplay())
            continue;
        if (layer->isInWindow())
            layer->display();
        else
            m_display.push_back(layer);
    }
}

uint64_t UpdateCycle::addFrameListener(std::function<void()> listener)
{
    uint64_t id = m_nextListenerId++;
    m_listeners.push_back({ id, std::move(listener) });
    return id;
}

void UpdateCycle::removeFrameListener(uint64_t id)
{
    std::erase_if(m_listeners, [id](const Listener& l) { return l.id == id; });
}

void UpdateCycle::endOfTurn()
{
    // Work that is already due (a reply just read, a task a handler posted) runs on the very next turn: the
    // passes wait for it once, so that a reply is not held up behind drawing and what it changes is drawn
    // in the same pass. They never wait two turns running, so a stream of due work cannot starve them.
    if (!m_waitedForDueWork && base::RunLoop::main().hasDueTask()) {
        m_waitedForDueWork = true;
        FrameClock::main().endFrame();
        return;
    }
    m_waitedForDueWork = false;
    runPasses();
    Transaction::flush();
    auto listeners = m_listeners;
    for (const auto& listener : listeners) {
        bool stillRegistered = std::any_of(
            m_listeners.begin(), m_listeners.end(), [&](const Listener& l) { return l.id == listener.id; });
        if (stillRegistered)
            listener.call();
    }
    FrameClock::main().endFrame();
}

} // namespace ui
