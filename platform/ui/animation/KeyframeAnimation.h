// ui::KeyframeAnimation: an animation of one key path through a list of values, at key times (fractions of
// the duration, evenly spread when not given or not one per value), each segment eased by its own timing
// function when given (linear otherwise). Discrete calculation holds each value until the next key time.
// Main thread.
//
//   auto bounce = std::make_shared<ui::KeyframeAnimation>("position.x");
//   bounce->setValues({ 160.0, 200.0, 160.0 });
//   bounce->setDuration(0.8);
//   layer->addAnimation(bounce, "bouncing");
#pragma once

#include "ui/animation/Animation.h"

#include <vector>

namespace ui {

class KeyframeAnimation : public PropertyAnimation {
public:
    enum class CalculationMode { Linear, Discrete };

    explicit KeyframeAnimation(std::string keyPath)
        : PropertyAnimation(std::move(keyPath))
    {
    }
    std::shared_ptr<Animation> copy() const override { return std::make_shared<KeyframeAnimation>(*this); }

    const std::vector<AnimatableValue>& values() const { return m_values; }
    void setValues(std::vector<AnimatableValue> values) { m_values = std::move(values); }
    const std::vector<double>& keyTimes() const { return m_keyTimes; }
    void setKeyTimes(std::vector<double> keyTimes) { m_keyTimes = std::move(keyTimes); }
    // One per segment (values - 1); otherwise ignored.
    const std::vector<TimingFunction>& timingFunctions() const { return m_timingFunctions; }
    void setTimingFunctions(std::vector<TimingFunction> functions) { m_timingFunctions = std::move(functions); }
    CalculationMode calculationMode() const { return m_mode; }
    void setCalculationMode(CalculationMode mode) { m_mode = mode; }

protected:
    void applyAt(LayerProperties& properties, Moment moment) const override;

private:
    AnimatableValue valueAt(double progress) const;
    double keyTime(size_t index) const;

    std::vector<AnimatableValue> m_values;
    std::vector<double> m_keyTimes;
    std::vector<TimingFunction> m_timingFunctions;
    CalculationMode m_mode { CalculationMode::Linear };
};

} // namespace ui
