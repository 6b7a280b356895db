// childcare::AttendanceDays: sorts the rows of an attendance reply into the three days the attendance screen
// lists: the reference day (the day of the first row that carries a time), the day before it and the one
// before that, counted in calendar days of the local time zone so that a daylight-saving change neither
// skips nor repeats a day. Rows keep their reply order within a day; rows of other days and rows without a
// time are not listed. Pure; main thread (it formats with the local time zone and localised weekdays).
//
//   auto days = childcare::AttendanceDays::sort(grid.get());
//   if (!days) showEmptyState();
//   else for (const auto& day : *days) showHeader(day.dateText, day.weekday);
#pragma once

#include "core/records/EasyUIDataGrid.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace childcare {

struct AttendanceDay {
    // "yyyy-MM-dd".
    std::string dateText;
    // The localised weekday name.
    std::string weekday;
    std::vector<std::shared_ptr<core::LumetDeviceConfig>> rows;
};

class AttendanceDays {
public:
    static constexpr size_t count = 3;
    using Days = std::array<AttendanceDay, count>;

    // Nothing when there is no grid or no row with a time.
    [[nodiscard]] static std::optional<Days> sort(const core::EasyUIDataGrid* grid);
    // "yyyy-MM-dd" in the local time zone.
    static std::string dayText(base::Date date);
};

} // namespace childcare
