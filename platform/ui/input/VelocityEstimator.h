// ui::VelocityEstimator: the rate of change of a finger-driven quantity (a location, a pinch's scale) per
// second of touch time, taken over the samples of the last tenth of a second so that a finger that stops
// before it lifts reports no speed. A value type for recognisers. Main thread.
//
//   ui::VelocityEstimator<gfx::Point> velocity;
//   velocity.add(touch.timestamp(), touch.locationInView(nullptr));
//   gfx::Point pointsPerSecond = velocity.perSecond();
#pragma once

#include "base/time/Clock.h"

#include <deque>

namespace ui {

template <typename Value> class VelocityEstimator {
public:
    void clear() { m_samples.clear(); }

    void add(base::Clock::TimePoint time, Value value)
    {
        m_samples.push_back({ time, value });
        // Keep one sample older than the window, the base when the window holds only the latest sample.
        while (m_samples.size() > 2 && age(m_samples[1].time) > window)
            m_samples.pop_front();
    }

    // The change per second from the oldest sample of the window (or the sample before it, when the window
    // holds only the latest) to the latest sample; zero with fewer than two samples.
    Value perSecond() const
    {
        if (m_samples.size() < 2)
            return Value {};
        size_t base = 0;
        while (base + 1 < m_samples.size() - 1 && age(m_samples[base].time) > window)
            ++base;
        const Sample& last = m_samples.back();
        const Sample& first = m_samples[base];
        double seconds = std::chrono::duration<double>(last.time - first.time).count();
        if (seconds <= 0)
            return Value {};
        return (last.value - first.value) * (1 / seconds);
    }

private:
    static constexpr double window = 0.1;
    struct Sample {
        base::Clock::TimePoint time;
        Value value;
    };

    double age(base::Clock::TimePoint time) const
    {
        return std::chrono::duration<double>(m_samples.back().time - time).count();
    }

    std::deque<Sample> m_samples;
};

} // namespace ui
