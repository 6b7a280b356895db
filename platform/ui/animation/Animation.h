// ui::Animation: what a layer animation has in common: duration, a delay from when it is added (beginTime),
// timing, repetition, what it shows before and after it runs (fill mode), whether it goes when it ends, the
// delegate told when it stops, and values stored under user keys. Main thread.
//
// Adding an animation to a layer copies it: later changes to the object the caller holds change nothing on
// screen. Animations never change a layer's model values; they only change what is drawn. The delegate is
// kept alive by the animation until it has been told.
//
//   auto move = std::make_shared<ui::BasicAnimation>("position");
//   move->setToValue(gfx::Point { 100, 100 });
//   move->setDuration(0.4);
//   move->setValue("animationType", base::Value("close"));
//   layer->addAnimation(move, "move");
#pragma once

#include "base/values/Value.h"
#include "ui/layer/LayerProperties.h"
#include "ui/animation/TimingFunction.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class Animation;

class AnimationDelegate {
public:
    virtual ~AnimationDelegate() = default;
    // On the run loop: at the end with finished = true, or on the turn after the animation was removed or
    // replaced with finished = false.
    virtual void animationDidStop(const Animation&, bool /*finished*/) { }
};

// What is drawn outside the animation's active time: Backwards shows the start during the delay, Forwards
// keeps the end once it is over (while the animation stays on the layer).
enum class FillMode { Removed, Forwards, Backwards, Both };

class Animation {
public:
    virtual ~Animation() = default;
    virtual std::shared_ptr<Animation> copy() const = 0;

    double duration() const { return m_duration; }
    void setDuration(double seconds) { m_duration = seconds; }
    // Seconds after being added before the animation starts.
    double beginTime() const { return m_beginTime; }
    void setBeginTime(double seconds) { m_beginTime = seconds; }
    const TimingFunction& timingFunction() const { return m_timing; }
    void setTimingFunction(const TimingFunction& timing) { m_timing = timing; }
    // 0 plays once; infinity repeats for ever; fractions play part of the last cycle.
    double repeatCount() const { return m_repeatCount; }
    void setRepeatCount(double count) { m_repeatCount = count; }
    bool autoreverses() const { return m_autoreverses; }
    void setAutoreverses(bool autoreverses) { m_autoreverses = autoreverses; }
    FillMode fillMode() const { return m_fillMode; }
    void setFillMode(FillMode mode) { m_fillMode = mode; }
    bool isRemovedOnCompletion() const { return m_removedOnCompletion; }
    void setRemovedOnCompletion(bool removed) { m_removedOnCompletion = removed; }
    const std::shared_ptr<AnimationDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<AnimationDelegate> delegate) { m_delegate = std::move(delegate); }

    void setValue(const std::string& key, base::Value value) { m_values[key] = std::move(value); }
    // The value stored under `key`, or nullptr.
    const base::Value* value(const std::string& key) const;

    // Seconds from the start (after the delay) to the end of the last cycle; infinity when it never ends.
    double activeDuration() const;

    // Applies the animation to `properties` (the model with earlier animations applied) `elapsed` seconds
    // after it was added; does nothing when it shows nothing at that time.
    void apply(LayerProperties& properties, double elapsed) const;

protected:
    Animation() = default;
    Animation(const Animation&) = default;

    // The cycle (0 first) and the progress within it, timing applied.
    struct Moment {
        int cycle;
        double progress;
    };
    virtual void applyAt(LayerProperties& properties, Moment moment) const = 0;

private:
    [[nodiscard]] std::optional<Moment> momentAt(double elapsed) const;

    double m_duration { 0.25 };
    double m_beginTime { 0 };
    TimingFunction m_timing { TimingFunction::linear() };
    double m_repeatCount { 0 };
    bool m_autoreverses { false };
    FillMode m_fillMode { FillMode::Removed };
    bool m_removedOnCompletion { true };
    std::shared_ptr<AnimationDelegate> m_delegate;
    std::map<std::string, base::Value> m_values;
};

// An animation of one key path (see LayerProperties.h for the names).
class PropertyAnimation : public Animation {
public:
    const std::string& keyPath() const { return m_keyPath; }
    // Each cycle continues from where the previous one ended instead of starting over.
    bool isCumulative() const { return m_cumulative; }
    void setCumulative(bool cumulative) { m_cumulative = cumulative; }

protected:
    explicit PropertyAnimation(std::string keyPath)
        : m_keyPath(std::move(keyPath))
    {
    }
    PropertyAnimation(const PropertyAnimation&) = default;

    // Writes `value` (plus the whole distance of the earlier cycles when cumulative) at the key path.
    void write(
        LayerProperties& properties, const AnimatableValue& value, const AnimatableValue& cycleEnd, int cycle) const;

private:
    std::string m_keyPath;
    bool m_cumulative { false };
};

} // namespace ui
