// base::DateSymbols: the names a date formatter writes and reads for a locale (months, weekdays, AM and PM)
// and the locale's short date and time patterns. English for every locale but Chinese ("zh", "zh-Hans",
// "zh_CN", ...), the two languages the application ships. Immutable tables, usable on any thread.
//
//   const base::DateSymbols& symbols = base::DateSymbols::forLocale("en_US");
//   std::string pm = symbols.dayPeriods[1]; // "PM"
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace base {

struct DateSymbols {
    std::array<std::string, 12> shortMonths;
    std::array<std::string, 12> months;
    std::array<std::string, 7> shortWeekdays; // Sunday first
    std::array<std::string, 7> weekdays;
    std::array<std::string, 2> dayPeriods; // AM, PM
    std::string shortDatePattern;
    std::string shortTimePattern;
    std::string dateTimeSeparator; // between the date and the time when both styles are set

    static const DateSymbols& forLocale(std::string_view localeIdentifier);
};

} // namespace base
