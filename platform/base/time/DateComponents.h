// base::DateComponents: the Gregorian calendar fields of a date in some time zone, or the amounts to add to
// a date (see Calendar). A plain aggregate.
//
//   base::DateComponents parts = base::Calendar::current().components(date);
//   if (parts.weekday == 1) showSunday();
#pragma once

namespace base {

struct DateComponents {
    int year { 0 };
    int month { 0 }; // 1 to 12
    int day { 0 }; // 1 to 31
    int hour { 0 }; // 0 to 23
    int minute { 0 };
    int second { 0 };
    int weekday { 0 }; // 1 Sunday to 7 Saturday; read only, ignored when making or adding

    bool operator==(const DateComponents& other) const = default;
};

} // namespace base
