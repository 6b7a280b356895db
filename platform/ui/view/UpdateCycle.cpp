#include "ui/view/UpdateCycle.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "ui/animation/Transaction.h"
#include "ui/layer/Layer.h"
#include "ui/render/FrameClock.h"
#include "ui/view/View.h"

#include <algorithm>
#include <chrono>
#include <unordered_set>

namespace ui {

namespace {

    // A view that marks itself again on each layout stops being laid out after this many rounds in one pass,
    // and waits for the next turn.
    constexpr int maxLayoutRounds = 16;
    // A display pass that may give way looks for waiting work (a reply to read) after this many layers drawn,
    // or sooner once it has drawn for this long since it last looked: a look costs a system call, and a reply
    // should not wait behind more than a fraction of a millisecond of drawing.
    constexpr size_t layersBetweenLooks = 4;
    constexpr std::chrono::microseconds drawingBetweenLooks { 60 };

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
    displayPass(false);
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

bool UpdateCycle::displayPass(bool mayGiveWay)
{
    std::vector<std::shared_ptr<Layer>> layers = aliveAndUnique(m_display);
    size_t drawnSinceLook = 0;
    auto lookedAt = std::chrono::steady_clock::now();
    for (size_t index = 0; index < layers.size(); ++index) {
        const auto& layer = layers[index];
        if (!layer->needsDisplay())
            continue;
        if (!layer->isInWindow()) {
            m_display.push_back(layer);
            continue;
        }
        layer->display();
        if (!mayGiveWay || index + 1 == layers.size())
            continue;
        ++drawnSinceLook;
        auto now = std::chrono::steady_clock::now();
        if (drawnSinceLook < layersBetweenLooks && now - lookedAt < drawingBetweenLooks)
            continue;
        drawnSinceLook = 0;
        lookedAt = now;
        if (base::RunLoop::main().hasWaitingWork()) {
            // The layers not drawn yet go first in the next pass, before any marked while these were drawn.
            m_display.insert(m_display.begin(), layers.begin() + static_cast<std::ptrdiff_t>(index + 1), layers.end());
            return false;
        }
    }
    return true;
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
    // Work that waits (a reply ready to read, a task a handler posted) runs on the very next turn: the passes
    // wait for it once, so that a reply is not held up behind drawing and what it changes is drawn in the same
    // pass. A display pass that finds such work arriving while it draws stops there and finishes after it,
    // without a frame in between. Neither waits twice running, so a stream of work cannot starve drawing.
    if (!m_waitedForDueWork && base::RunLoop::main().hasWaitingWork()) {
        m_waitedForDueWork = true;
        FrameClock::main().endFrame();
        return;
    }
    m_waitedForDueWork = false;
    layoutPass();
    const bool drewAll = displayPass(!m_displayGaveWay);
    m_displayGaveWay = !drewAll;
    Transaction::flush();
    // The frame shows finished passes; like them, it lets work that arrived meanwhile go first, once.
    const bool frameWaits
        = !drewAll || (!m_frameWaited && !m_listeners.empty() && base::RunLoop::main().hasWaitingWork());
    m_frameWaited = frameWaits;
    if (frameWaits) {
        FrameClock::main().endFrame();
        return;
    }
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
