#include "childcare/alarms/AlarmClockTableViewCell.h"

#include "base/loop/MainThread.h"
#include "core/service/ReplyFields.h"
#include "ui/controls/Label.h"
#include "ui/controls/Switch.h"

#include <cstdio>

namespace childcare {

namespace {

    int64_t integerField(const std::optional<base::Value>& value, std::string_view key)
    {
        return value ? core::ReplyFields::integerOf(*value, key).value_or(0) : 0;
    }

} // namespace

AlarmClockTableViewCell::AlarmClockTableViewCell()
    : ui::TableViewCell(ui::TableViewCellStyle::Default, identifier)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    m_timeLabel = std::make_shared<ui::Label>(gfx::Rect { 20, 7, 120, 31 });
    m_timeLabel->setFont(gfx::Font::system(16));
    contentView()->addSubview(m_timeLabel);
    m_clockSwitch = std::make_shared<ui::Switch>(gfx::Rect { { 0, 0 }, ui::Switch::size });
    setAccessoryView(m_clockSwitch);
}

void AlarmClockTableViewCell::show(const core::LumetAlarmClockEntity& entry)
{
    BASE_ASSERT_MAIN_THREAD();
    m_timeLabel->setText(timeText(entry));
    m_clockSwitch->setOn(entry.isOpen != 0);
}

int64_t AlarmClockTableViewCell::hourOf(const core::LumetAlarmClockEntity& entry) { return integerField(entry.h, "H"); }

int64_t AlarmClockTableViewCell::minuteOf(const core::LumetAlarmClockEntity& entry)
{
    BASE_ASSERT_MAIN_THREAD();
    return integerField(entry.m, "S");
}

std::string AlarmClockTableViewCell::timeText(const core::LumetAlarmClockEntity& entry)
{
    BASE_ASSERT_MAIN_THREAD();
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(hourOf(entry)),
        static_cast<long long>(minuteOf(entry)));
    return text;
}

} // namespace childcare
