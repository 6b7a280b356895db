#include "childcare/attendance/AttendanceDays.h"

#include "base/time/Calendar.h"
#include "base/time/DateFormatter.h"
#include "core/readers/Tool.h"

#include <algorithm>

namespace childcare {

std::string AttendanceDays::dayText(base::Date date) { return base::DateFormatter("yyyy-MM-dd").stringFromDate(date); }

std::optional<AttendanceDays::Days> AttendanceDays::sort(const core::EasyUIDataGrid* grid)
{
    if (!grid)
        return std::nullopt;
    auto reference = std::find_if(
        grid->rows.begin(), grid->rows.end(), [](const auto& row) { return row && row->dateTime.has_value(); });
    if (reference == grid->rows.end())
        return std::nullopt;

    Days days;
    base::Calendar calendar = base::Calendar::current();
    base::Date referenceTime = *(*reference)->dateTime;
    for (size_t back = 0; back < count; ++back) {
        base::Date day = calendar.dateByAddingDays(-static_cast<int>(back), referenceTime);
        days[back].dateText = dayText(day);
        days[back].weekday = core::Tool::getWeekdayFromDate(day);
    }
    for (const auto& row : grid->rows) {
        if (!row || !row->dateTime)
            continue;
        std::string text = dayText(*row->dateTime);
        auto day = std::find_if(days.begin(), days.end(), [&](const AttendanceDay& d) { return d.dateText == text; });
        if (day != days.end())
            day->rows.push_back(row);
    }
    return days;
}

} // namespace childcare
