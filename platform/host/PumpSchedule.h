// host::PumpSchedule: how often the window host polls SDL, or wakes the loop for an animation's frames. With the
// window system's connection watched, SDL is pumped when the connection has something to read; it is polled
// sixty times a second only for a short while after the connection's last traffic, because SDL hands some of
// what it reads over from a later pump (a lost focus 200 ms on, an input method's answer over its own bus).
// A running animation has the loop woken for each frame, and a few times a second once its frames have shown
// nothing for two seconds (it turns off-screen or under another view), until one shows a change again (so
// an animation whose start was delayed longer than that may show its first frames up to a quarter second
// late). Without a watched connection (the offscreen and dummy drivers, Wayland) SDL is polled sixty times a
// second throughout.
//
//   host::PumpSchedule schedule(true);
//   schedule.connectionActive(now);                 // the connection had something to read
//   schedule.frameEnded(animating, showedChange);   // after each turn's frame
//   if (auto period = schedule.period(now)) ...     // poll, or wake, every *period
#pragma once

#include "base/time/Clock.h"

#include <optional>

namespace host {

class PumpSchedule {
public:
    static constexpr base::Duration framePeriod { 1.0 / 60 };
    // How long SDL is polled after the connection's last traffic.
    static constexpr base::Duration settleTime { 0.5 };
    // The wake-up period of an animation whose last `unseenFrames` frames showed nothing.
    static constexpr base::Duration unseenPeriod { 0.25 };
    static constexpr int unseenFrames = 120;

    explicit PumpSchedule(bool watchesConnection)
        : m_watchesConnection(watchesConnection)
    {
    }

    void connectionActive(base::Clock::TimePoint now) { m_settledAt = now + base::Clock::ticks(settleTime); }
    // Without a connection to watch any more (it failed), SDL is polled from then on.
    void connectionLost() { m_watchesConnection = false; }
    // After each turn: whether an animation runs in a shown window, and whether the turn's frame showed a change.
    void frameEnded(bool animating, bool showedChange);

    // The period to poll or wake at; none while nothing needs it.
    std::optional<base::Duration> period(base::Clock::TimePoint now) const;
    // Whether a poll at `now` must pump SDL's events; otherwise it only wakes the loop for a frame.
    bool pollsEvents(base::Clock::TimePoint now) const { return !m_watchesConnection || now < m_settledAt; }

private:
    bool m_watchesConnection;
    bool m_animating { false };
    int m_framesUnseen { 0 };
    base::Clock::TimePoint m_settledAt {};
};

} // namespace host
