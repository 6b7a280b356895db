// childcare::AlarmClockDetailDelegate: told by the alarm-clock editor that the user saved the alarm it was
// given (the list then shows and sends it). Kept weakly. Main thread.
//
//   void updateAlarmClockDetail() override { m_clockView->reloadData(); sendAlarmClocks(); }
#pragma once

namespace childcare {

class AlarmClockDetailDelegate {
public:
    virtual ~AlarmClockDetailDelegate() = default;
    virtual void updateAlarmClockDetail() = 0;
};

} // namespace childcare
