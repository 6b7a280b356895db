#include "ui/controls/DatePicker.h"

#include "base/time/Calendar.h"
#include "base/loop/MainThread.h"

#include <cmath>
#include <cstdio>

namespace ui {

namespace {

    constexpr size_t hourWheel = 0;
    constexpr size_t minuteWheel = 1;

    gfx::Rect sizedFrame(const gfx::Rect& frame)
    {
        if (frame.size.width > 0 || frame.size.height > 0)
            return frame;
        return { frame.origin, PickerView::defaultSize };
    }

} // namespace

DatePicker::DatePicker(const gfx::Rect& frame)
    : Control(sizedFrame(frame))
    , m_day(base::Calendar::current().startOfDay(base::Date::now()))
    , m_wheels(std::make_shared<PickerView>(gfx::Rect { {}, sizedFrame(frame).size }))
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
}

void DatePicker::attachWheels() const
{
    if (m_attached)
        return;
    m_attached = true;
    auto self = std::const_pointer_cast<DatePicker>(sharedFrom(this));
    self->addSubview(m_wheels);
    m_wheels->setDataSource(std::static_pointer_cast<PickerViewDataSource>(self));
    m_wheels->setDelegate(std::static_pointer_cast<PickerViewDelegate>(self));
}

const std::shared_ptr<PickerView>& DatePicker::wheels() const
{
    attachWheels();
    return m_wheels;
}

void DatePicker::setDatePickerMode(DatePickerMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    m_mode = mode;
    wheels()->reloadAllComponents();
}

int DatePicker::hour() const { return std::max(wheels()->selectedRowInComponent(hourWheel), 0); }

int DatePicker::minute() const { return std::max(wheels()->selectedRowInComponent(minuteWheel), 0); }

base::Date DatePicker::date() const
{
    base::Calendar calendar = base::Calendar::current();
    base::DateComponents fields = calendar.components(m_day);
    fields.hour = hour();
    fields.minute = minute();
    fields.second = 0;
    return calendar.date(fields).value_or(m_day);
}

void DatePicker::setDate(base::Date date, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    base::Calendar calendar = base::Calendar::current();
    base::DateComponents fields = calendar.components(date);
    m_day = calendar.startOfDay(date);
    wheels()->selectRow(fields.hour, hourWheel, animated);
    wheels()->selectRow(fields.minute, minuteWheel, animated);
}

void DatePicker::setCountDownDuration(double seconds)
{
    BASE_ASSERT_MAIN_THREAD();
    long minutes = std::clamp(std::lround(std::floor(seconds / 60)), 0L, 24L * 60 - 1);
    wheels()->selectRow(static_cast<int>(minutes / 60), hourWheel);
    wheels()->selectRow(static_cast<int>(minutes % 60), minuteWheel);
}

size_t DatePicker::pickerViewNumberOfRowsInComponent(PickerView&, size_t component)
{
    BASE_ASSERT_MAIN_THREAD();
    return component == hourWheel ? 24 : component == minuteWheel ? 60 : 0;
}

std::optional<std::string> DatePicker::pickerViewTitleForRow(PickerView&, size_t row, size_t component)
{
    BASE_ASSERT_MAIN_THREAD();
    char title[8];
    std::snprintf(title, sizeof title, component == hourWheel ? "%zu" : "%02zu", row);
    return std::string(title);
}

void DatePicker::pickerViewDidSelectRow(PickerView&, size_t, size_t)
{
    BASE_ASSERT_MAIN_THREAD();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void DatePicker::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    attachWheels();
    m_wheels->setFrame(bounds());
}

} // namespace ui
