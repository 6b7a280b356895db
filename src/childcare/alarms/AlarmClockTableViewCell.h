// childcare::AlarmClockTableViewCell: one row of the alarm-clock list: the alarm's time as "HH:mm" at the
// left and its on/off switch at the right. The hour and minute are read as integers whatever the service
// sent (a numeric text gives its number, null or anything else 0). Main thread.
//
//   auto cell = std::make_shared<childcare::AlarmClockTableViewCell>();
//   cell->show(*alarm);
#pragma once

#include "core/records/LumetAlarmClockEntity.h"
#include "ui/scroll/TableViewCell.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ui {
class Label;
class Switch;
}

namespace childcare {

class AlarmClockTableViewCell : public ui::TableViewCell {
public:
    static constexpr const char* identifier = "AlarmClockTableViewCell";

    AlarmClockTableViewCell();

    const std::shared_ptr<ui::Switch>& clockSwitch() const { return m_clockSwitch; }
    const std::shared_ptr<ui::Label>& timeLabel() const { return m_timeLabel; }

    // Shows the alarm's time and state.
    void show(const core::LumetAlarmClockEntity& entry);

    static int64_t hourOf(const core::LumetAlarmClockEntity& entry);
    static int64_t minuteOf(const core::LumetAlarmClockEntity& entry);
    // "%02d:%02d".
    static std::string timeText(const core::LumetAlarmClockEntity& entry);

private:
    std::shared_ptr<ui::Switch> m_clockSwitch;
    std::shared_ptr<ui::Label> m_timeLabel;
};

} // namespace childcare
