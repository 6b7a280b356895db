// ui::Layer: running animations, their ends and interruptions, and presentation values.
#include "ui/layer/Layer.h"

#include "base/loop/MainThread.h"
#include "ui/animation/AnimationStopObserver.h"
#include "ui/animation/Transaction.h"
#include "ui/render/FrameClock.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace ui {

namespace {

    uint64_t nextAnimationId = 1;
    // The layers with animations that have not ended, and how many each has.
    std::unordered_map<const Layer*, size_t> runningLayers;

    void tellStopped(const std::shared_ptr<Animation>& animation,
        const std::vector<std::shared_ptr<AnimationStopObserver>>& observers, bool finished)
    {
        if (auto delegate = animation->delegate())
            delegate->animationDidStop(*animation, finished);
        for (const auto& observer : observers)
            observer->animationStopped(finished);
    }

} // namespace

void Layer::setRunning(bool wasRunning, bool running)
{
    if (wasRunning && !running) {
        auto found = runningLayers.find(this);
        if (found != runningLayers.end() && --found->second == 0)
            runningLayers.erase(found);
    } else if (!wasRunning && running) {
        ++runningLayers[this];
    }
}

bool Layer::anyAnimationRunningInWindow()
{
    BASE_ASSERT_MAIN_THREAD();
    return std::any_of(
        runningLayers.begin(), runningLayers.end(), [](const auto& running) { return running.first->isShown(); });
}

std::vector<const Layer*> Layer::layersRunningAnimations()
{
    std::vector<const Layer*> layers;
    for (const auto& running : runningLayers)
        layers.push_back(running.first);
    return layers;
}

bool Layer::isShown() const
{
    if (isHidden())
        return false;
    auto superlayer = m_superlayer.lock();
    return superlayer ? superlayer->isShown() : m_role == Role::WindowBacking;
}

void Layer::addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!animation)
        return;
    attach(animation->copy(), key, Transaction::observersForNewAnimation());
}

void Layer::attach(std::shared_ptr<Animation> animation, std::string key,
    std::vector<std::shared_ptr<AnimationStopObserver>> observers)
{
    uint64_t id = nextAnimationId++;
    if (key.empty())
        key = "#" + std::to_string(id);
    else
        removeAnimation(key);

    RunningAnimation entry;
    entry.id = id;
    entry.key = key;
    entry.animation = std::move(animation);
    entry.addedAt = FrameClock::main().now();
    entry.observers = std::move(observers);
    double lasts = entry.animation->beginTime() + entry.animation->activeDuration();
    if (std::isfinite(lasts)) {
        auto self = shared_from_this();
        entry.endTask = base::RunLoop::main().performAt(
            entry.addedAt + base::Clock::ticks(base::Duration(lasts)), [self, id] { self->animationReachedEnd(id); });
    }
    m_animations.push_back(std::move(entry));
    setRunning(false, true);
    touch();
}

Layer::RunningAnimation* Layer::runningAnimation(const std::string& key)
{
    auto found = std::find_if(
        m_animations.begin(), m_animations.end(), [&](const RunningAnimation& e) { return e.key == key; });
    return found == m_animations.end() ? nullptr : &*found;
}

std::optional<Layer::RunningAnimation> Layer::takeAnimation(const std::string& key)
{
    auto found = std::find_if(
        m_animations.begin(), m_animations.end(), [&](const RunningAnimation& e) { return e.key == key; });
    if (found == m_animations.end())
        return std::nullopt;
    RunningAnimation entry = std::move(*found);
    m_animations.erase(found);
    base::RunLoop::main().cancel(entry.endTask.lock());
    setRunning(!entry.ended, false);
    touch();
    return entry;
}

void Layer::animationReachedEnd(uint64_t id)
{
    auto found
        = std::find_if(m_animations.begin(), m_animations.end(), [&](const RunningAnimation& e) { return e.id == id; });
    if (found == m_animations.end() || found->ended)
        return;
    found->ended = true;
    setRunning(true, false);
    std::shared_ptr<Animation> animation = found->animation;
    auto observers = found->observers;
    if (animation->isRemovedOnCompletion())
        m_animations.erase(found);
    touch();
    tellStopped(animation, observers, true);
}

void Layer::stopInterrupted(RunningAnimation entry)
{
    base::RunLoop::main().cancel(entry.endTask.lock());
    setRunning(!entry.ended, false);
    touch();
    if (entry.ended)
        return;
    // Never from inside the call that removed it: the delegate and completions hear on the next turn.
    base::RunLoop::main().post([animation = std::move(entry.animation), observers = std::move(entry.observers)] {
        tellStopped(animation, observers, false);
    });
}

std::shared_ptr<const Animation> Layer::animationForKey(const std::string& key) const
{
    for (const RunningAnimation& entry : m_animations) {
        if (entry.key == key)
            return entry.animation;
    }
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const
{
    std::vector<std::string> keys;
    for (const RunningAnimation& entry : m_animations)
        keys.push_back(entry.key);
    return keys;
}

void Layer::removeAnimation(const std::string& key)
{
    auto found = std::find_if(
        m_animations.begin(), m_animations.end(), [&](const RunningAnimation& e) { return e.key == key; });
    if (found == m_animations.end())
        return;
    RunningAnimation entry = std::move(*found);
    m_animations.erase(found);
    stopInterrupted(std::move(entry));
}

void Layer::removeAllAnimations()
{
    std::vector<RunningAnimation> entries = std::move(m_animations);
    m_animations.clear();
    for (RunningAnimation& entry : entries)
        stopInterrupted(std::move(entry));
}

LayerProperties Layer::presentation() const { return presentationAt(FrameClock::main().now()); }

LayerProperties Layer::presentationAt(base::Clock::TimePoint instant) const
{
    LayerProperties properties = m_model;
    for (const RunningAnimation& entry : m_animations)
        entry.animation->apply(properties, base::Duration(instant - entry.addedAt).count());
    return properties;
}

} // namespace ui
