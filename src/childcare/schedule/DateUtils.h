// childcare::DateUtils: the class schedule's column header for one week, the week beginning on Monday: entry
// 0 is the month label, entries 1 to 7 the day-of-month numbers of Monday to Sunday ("%ld", no leading
// zero). A Sunday belongs to the week that began six days before. Dates are civil dates of the current
// calendar, moved in whole days, so a daylight-saving change or a late hour never shifts a day. Stateless;
// main thread (it reads the clock and the string tables).
//
//   std::vector<std::string> header = childcare::DateUtils::getDatesOfCurrence(); // {"June", "26", ... "1"}
//   std::string monday = header[1];
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace childcare {

class DateUtils {
public:
    static constexpr size_t EntryCount = 8;

    // The week of today; the label is the localised "month" with today's month number.
    static std::vector<std::string> getDatesOfCurrence();
    // The week `weeks` whole weeks before (negative) or after today's; the label is "%ld月" with the month
    // number of today moved by those weeks.
    static std::vector<std::string> getDatesSinceCurence(int64_t weeks);
};

} // namespace childcare
