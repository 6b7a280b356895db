// ui::DatePicker: a picker of a time of day: an hour wheel (0 to 23) and a minute wheel (0 to 59). Both
// modes the application uses show these two wheels: time mode (24-hour) and count-down-timer mode. The
// picker's date is the day of the date last set (today when none was), in the current calendar, at the
// hour and minute on the wheels; its count-down duration is the same hours and minutes in seconds. Turning a
// wheel sends value-changed; setting in code sends nothing. The locale is stored only. Main thread.
//
//   auto picker = std::make_shared<ui::DatePicker>(gfx::Rect { 0, 34, 300, 100 });
//   picker->setDatePickerMode(ui::DatePickerMode::CountDownTimer);
//   picker->setDate(*formatter.dateFromString("09:00"), true);
//   std::string chosen = formatter.stringFromDate(picker->date());   // "HH:mm"
#pragma once

#include "base/time/Date.h"
#include "ui/controls/Control.h"
#include "ui/controls/PickerView.h"

#include <string>

namespace ui {

enum class DatePickerMode { Time = 0, CountDownTimer = 3 };

class DatePicker : public Control, public PickerViewDataSource, public PickerViewDelegate {
public:
    // A zero size takes the picker's default size.
    explicit DatePicker(const gfx::Rect& frame = {});

    DatePickerMode datePickerMode() const { return m_mode; }
    void setDatePickerMode(DatePickerMode mode);

    base::Date date() const;
    // Turns the wheels to the date's hour and minute (seconds are dropped) and keeps its day.
    void setDate(base::Date date, bool animated = false);
    int hour() const;
    int minute() const;
    // Seconds; set: whole minutes, below 24 hours.
    double countDownDuration() const { return hour() * 3600.0 + minute() * 60.0; }
    void setCountDownDuration(double seconds);

    const std::string& locale() const { return m_locale; }
    void setLocale(std::string locale) { m_locale = std::move(locale); }

    const std::shared_ptr<PickerView>& wheels() const;

    size_t numberOfComponentsInPickerView(PickerView&) override { return 2; }
    size_t pickerViewNumberOfRowsInComponent(PickerView&, size_t component) override;
    std::optional<std::string> pickerViewTitleForRow(PickerView&, size_t row, size_t component) override;
    void pickerViewDidSelectRow(PickerView&, size_t row, size_t component) override;

    void layoutSubviews() override;

private:
    // The wheels become a subview, with this picker as their data source and delegate, on first use.
    void attachWheels() const;

    DatePickerMode m_mode { DatePickerMode::Time };
    base::Date m_day;
    std::string m_locale;
    std::shared_ptr<PickerView> m_wheels;
    mutable bool m_attached { false };
};

} // namespace ui
