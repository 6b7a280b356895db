// base::DateFormatter: writes dates as text and reads them back by a pattern ("MM/dd/yyyy HH:mm:ss",
// "yyyyMMddHHmmss", "h:mm a", ...) or by the locale's short date and time styles, in a time zone (the local
// one by default, honouring TZ). One formatter belongs to one thread at a time.
//
// Fields: y (yy is the year's last two digits), M and L (1-2 digits, MMM short name, MMMM full name), d,
// H (0-23), h (1-12), K (0-11), k (1-24), m, s, S (fraction of a second, one digit per letter), a (AM or
// PM), E (weekday name: EEEE full), Z (+0800; ZZZZ and longer +08:00). Reading is strict: the whole text
// must match, literal text exactly, names without regard to case, and every field must lie in its range.
// Adjacent numeric fields ("yyyyMMdd") read exactly their width in digits; others read as many digits as
// they find. Missing fields default to 2000-01-01 00:00:00; a two-digit year reads 00-68 as 2000-2068 and
// 69-99 as 1969-1999.
//
//   base::DateFormatter formatter("yyyy-MM-dd HH:mm");
//   std::string text = formatter.stringFromDate(date);
//   std::optional<base::Date> back = formatter.dateFromString("2014-05-13 16:53");
#pragma once

#include "base/time/Date.h"
#include "base/time/DatePattern.h"
#include "base/time/TimeZone.h"

#include <optional>
#include <string>
#include <string_view>

namespace base {

class DateFormatter {
public:
    enum class Style { None, Short };

    // Empty pattern, local time zone, the locale of the user's first preferred language.
    DateFormatter();
    explicit DateFormatter(std::string pattern);

    const std::string& dateFormat() const { return m_format; }
    void setDateFormat(std::string pattern);

    // Setting a style replaces the pattern with the locale's pattern for the two styles.
    Style dateStyle() const { return m_dateStyle; }
    Style timeStyle() const { return m_timeStyle; }
    void setDateStyle(Style style);
    void setTimeStyle(Style style);

    const TimeZone& timeZone() const { return m_zone; }
    void setTimeZone(TimeZone zone) { m_zone = zone; }

    const std::string& locale() const { return m_locale; }
    void setLocale(std::string identifier);

    std::string stringFromDate(Date date) const;
    [[nodiscard]] std::optional<Date> dateFromString(std::string_view text) const;

private:
    void applyStyles();

    std::string m_format;
    DatePattern m_pattern { "" };
    Style m_dateStyle { Style::None };
    Style m_timeStyle { Style::None };
    TimeZone m_zone { TimeZone::local() };
    std::string m_locale;
};

} // namespace base
