#include "host/PumpSchedule.h"

namespace host {

void PumpSchedule::frameEnded(bool animating, bool showedChange)
{
    m_animating = animating;
    if (!animating || showedChange)
        m_framesUnseen = 0;
    else if (m_framesUnseen < unseenFrames)
        ++m_framesUnseen;
}

std::optional<base::Duration> PumpSchedule::period(base::Clock::TimePoint now) const
{
    if (pollsEvents(now))
        return framePeriod;
    if (!m_animating)
        return std::nullopt;
    return m_framesUnseen < unseenFrames ? framePeriod : unseenPeriod;
}

} // namespace host
