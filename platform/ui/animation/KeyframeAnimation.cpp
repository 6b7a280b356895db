#include "ui/animation/KeyframeAnimation.h"

#include "base/loop/MainThread.h"
namespace ui {

double KeyframeAnimation::keyTime(size_t index) const
{
    if (m_keyTimes.size() == m_values.size())
        return m_keyTimes[index];
    return m_values.size() > 1 ? static_cast<double>(index) / (m_values.size() - 1) : 0;
}

AnimatableValue KeyframeAnimation::valueAt(double progress) const
{
    size_t last = m_values.size() - 1;
    if (progress <= keyTime(0))
        return m_values.front();
    if (progress >= keyTime(last))
        return m_values.back();
    size_t segment = 0;
    while (segment + 1 < last && progress >= keyTime(segment + 1))
        ++segment;
    if (m_mode == CalculationMode::Discrete)
        return m_values[segment];
    double start = keyTime(segment);
    double span = keyTime(segment + 1) - start;
    double local = span > 0 ? (progress - start) / span : 1;
    if (m_timingFunctions.size() == last)
        local = m_timingFunctions[segment].progress(local, duration() * span);
    return interpolate(m_values[segment], m_values[segment + 1], local);
}

void KeyframeAnimation::applyAt(LayerProperties& properties, Moment moment) const
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_values.empty())
        return;
    write(properties, valueAt(moment.progress), m_values.back(), moment.cycle);
}

} // namespace ui
