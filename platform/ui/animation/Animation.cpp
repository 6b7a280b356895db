#include "ui/animation/Animation.h"

#include "base/loop/MainThread.h"
#include <cmath>
#include <limits>

namespace ui {

const base::Value* Animation::value(const std::string& key) const
{
    auto found = m_values.find(key);
    return found == m_values.end() ? nullptr : &found->second;
}

double Animation::activeDuration() const
{
    double cycles = m_repeatCount > 0 ? m_repeatCount : 1;
    if (std::isinf(cycles))
        return std::numeric_limits<double>::infinity();
    return std::max(m_duration, 0.0) * cycles * (m_autoreverses ? 2 : 1);
}

std::optional<Animation::Moment> Animation::momentAt(double elapsed) const
{
    double t = elapsed - m_beginTime;
    double active = activeDuration();
    bool fillsBackwards = m_fillMode == FillMode::Backwards || m_fillMode == FillMode::Both;
    bool fillsForwards = m_fillMode == FillMode::Forwards || m_fillMode == FillMode::Both;
    if (t < 0) {
        if (!fillsBackwards)
            return std::nullopt;
        return Moment { 0, m_timing.progress(0, m_duration) };
    }
    double cycleLength = m_duration * (m_autoreverses ? 2 : 1);
    if (t >= active) {
        if (!fillsForwards)
            return std::nullopt;
        // The end state: the last cycle's end (its start again when it autoreverses).
        if (cycleLength <= 0)
            return Moment { 0, 1 };
        double cycles = m_repeatCount > 0 ? m_repeatCount : 1;
        int last = static_cast<int>(std::ceil(cycles)) - 1;
        double within = (cycles - last) * cycleLength;
        double fraction = within / m_duration;
        if (m_autoreverses && fraction > 1)
            fraction = 2 - fraction;
        return Moment { last, m_timing.progress(fraction, m_duration) };
    }
    int cycle = static_cast<int>(std::floor(t / cycleLength));
    double fraction = (t - cycle * cycleLength) / m_duration;
    if (m_autoreverses && fraction > 1)
        fraction = 2 - fraction;
    return Moment { cycle, m_timing.progress(fraction, m_duration) };
}

void Animation::apply(LayerProperties& properties, double elapsed) const
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto moment = momentAt(elapsed))
        applyAt(properties, *moment);
}

void PropertyAnimation::write(
    LayerProperties& properties, const AnimatableValue& value, const AnimatableValue& cycleEnd, int cycle) const
{
    // A key path the layer does not know, or a value of another kind, leaves what is drawn as the model has it.
    if (m_cumulative && cycle > 0)
        (void)ui::setValue(properties, m_keyPath, add(value, repeated(cycleEnd, cycle)));
    else
        (void)ui::setValue(properties, m_keyPath, value);
}

} // namespace ui
