#include "networking/plist/PropertyListDate.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace networking {

namespace {

    // Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
    int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
    {
        year -= month <= 2;
        int64_t era = (year >= 0 ? year : year - 399) / 400;
        auto yearOfEra = static_cast<unsigned>(year - era * 400);
        unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
        unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
        return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
    }

    void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
    {
        days += 719468;
        int64_t era = (days >= 0 ? days : days - 146096) / 146097;
        auto dayOfEra = static_cast<unsigned>(days - era * 146097);
        unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        year = static_cast<int64_t>(yearOfEra) + era * 400;
        unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        unsigned monthIndex = (5 * dayOfYear + 2) / 153;
        day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
        month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
        year += month <= 2;
    }

    bool readNumber(std::string_view text, size_t at, size_t length, unsigned& value)
    {
        value = 0;
        for (size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        }
        return true;
    }

} // namespace

std::optional<std::string> PropertyListDate::format(base::Date date)
{
    double seconds = std::floor(date.timeIntervalSince1970());
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15)
        return std::nullopt;
    auto whole = static_cast<int64_t>(seconds);
    int64_t days = whole >= 0 ? whole / 86400 : (whole - 86399) / 86400;
    int64_t secondsOfDay = whole - days * 86400;
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    if (year < 0 || year > 9999)
        return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(year), month, day,
        static_cast<long long>(secondsOfDay / 3600), static_cast<long long>(secondsOfDay / 60 % 60),
        static_cast<long long>(secondsOfDay % 60));
    return std::string(text);
}

std::optional<base::Date> PropertyListDate::parse(std::string_view text)
{
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':'
        || text[19] != 'Z')
        return std::nullopt;
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readNumber(text, 0, 4, year) || !readNumber(text, 5, 2, month) || !readNumber(text, 8, 2, day)
        || !readNumber(text, 11, 2, hour) || !readNumber(text, 14, 2, minute) || !readNumber(text, 17, 2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    int64_t days = daysFromCivil(year, month, day);
    return base::Date::fromTimeIntervalSince1970(
        static_cast<double>(days * 86400 + hour * 3600 + minute * 60 + second));
}

} // namespace networking
