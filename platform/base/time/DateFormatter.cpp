#include "base/time/DateFormatter.h"

#include "base/system/Facts.h"
#include "base/time/DateSymbols.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace base {

namespace {

    constexpr int defaultYear = 2000;

    // The value's decimal digits, with zeros in front up to `width`, after a minus sign when negative. Written
    // from the end of a buffer in one pass, as dates are formatted for every stored row.
    std::string padded(long long value, int width)
    {
        char text[64];
        char* end = text + sizeof text;
        char* p = end;
        unsigned long long magnitude
            = value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
        do {
            *--p = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        // The zeros go in the buffer, but for a width it cannot hold (room is kept for the sign).
        auto zeros = static_cast<long>(width) - (end - p);
        for (; zeros > 0 && p - text > 1; --zeros)
            *--p = '0';
        if (value < 0)
            *--p = '-';
        std::string result(p, end);
        if (zeros > 0)
            result.insert(value < 0 ? 1 : 0, static_cast<size_t>(zeros), '0');
        return result;
    }

    std::string offsetText(int seconds, bool withColon)
    {
        int minutes = std::abs(seconds) / 60;
        return std::string(seconds < 0 ? "-" : "+") + padded(minutes / 60, 2) + (withColon ? ":" : "")
            + padded(minutes % 60, 2);
    }

    bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

    int daysInMonth(int year, int month)
    {
        static constexpr int lengths[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
    }

    bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
    {
        if (text.size() < prefix.size())
            return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text[i]))
                != std::tolower(static_cast<unsigned char>(prefix[i])))
                return false;
        return true;
    }

    // Finds the longest of `names` at the start of `text`; returns its index and moves `text` past it.
    template <size_t N> std::optional<int> readName(std::string_view& text, const std::array<std::string, N>& names)
    {
        std::optional<int> found;
        size_t foundLength = 0;
        for (size_t i = 0; i < N; ++i) {
            if (names[i].size() > foundLength && startsWithIgnoringCase(text, names[i])) {
                found = static_cast<int>(i);
                foundLength = names[i].size();
            }
        }
        text.remove_prefix(foundLength);
        return found;
    }

    // Fields read from a text; unset ones take their defaults.
    struct ParsedFields {
        int year { defaultYear };
        int month { 1 };
        int day { 1 };
        std::optional<int> hour24;
        std::optional<int> hour12; // 0-11
        bool pm { false };
        int minute { 0 };
        int second { 0 };
        double fraction { 0 };
        std::optional<int> offset;
    };

    class TextReader {
    public:
        TextReader(const DatePattern& pattern, const DateSymbols& symbols)
            : m_tokens(pattern.tokens())
            , m_symbols(symbols)
        {
        }

        std::optional<ParsedFields> read(std::string_view text)
        {
            ParsedFields fields;
            for (size_t i = 0; i < m_tokens.size(); ++i) {
                const DatePattern::Token& token = m_tokens[i];
                bool ok;
                if (!token.isField()) {
                    ok = text.starts_with(token.literal);
                    if (ok)
                        text.remove_prefix(token.literal.size());
                } else if (token.isNumeric()) {
                    bool nextIsNumeric = i + 1 < m_tokens.size() && m_tokens[i + 1].isNumeric();
                    ok = readNumber(text, token, nextIsNumeric, fields);
                } else {
                    ok = readText(text, token, fields);
                }
                if (!ok)
                    return std::nullopt;
            }
            if (!text.empty())
                return std::nullopt;
            return fields;
        }

    private:
        bool readNumber(std::string_view& text, const DatePattern::Token& token, bool exactWidth, ParsedFields& fields)
        {
            size_t maxDigits = exactWidth ? static_cast<size_t>(token.width) : 9;
            size_t count = 0;
            long long value = 0;
            while (count < maxDigits && count < text.size() && text[count] >= '0' && text[count] <= '9')
                value = value * 10 + (text[count++] - '0');
            if (count == 0 || (exactWidth && count != maxDigits))
                return false;
            std::string_view digits = text.substr(0, count);
            text.remove_prefix(count);
            return assignNumber(token, value, digits, fields);
        }

        static bool inRange(long long value, long long low, long long high) { return value >= low && value <= high; }

        static bool assignNumber(
            const DatePattern::Token& token, long long value, std::string_view digits, ParsedFields& fields)
        {
            switch (token.letter) {
            case 'y':
                if (token.width == 2 && digits.size() == 2)
                    value += value <= 68 ? 2000 : 1900;
                fields.year = static_cast<int>(value);
                return inRange(value, 1, 9999);
            case 'M':
            case 'L':
                fields.month = static_cast<int>(value);
                return inRange(value, 1, 12);
            case 'd':
                fields.day = static_cast<int>(value);
                return inRange(value, 1, 31);
            case 'H':
                fields.hour24 = static_cast<int>(value);
                return inRange(value, 0, 23);
            case 'k':
                fields.hour24 = static_cast<int>(value % 24);
                return inRange(value, 1, 24);
            case 'h':
                fields.hour12 = static_cast<int>(value % 12);
                return inRange(value, 1, 12);
            case 'K':
                fields.hour12 = static_cast<int>(value);
                return inRange(value, 0, 11);
            case 'm':
                fields.minute = static_cast<int>(value);
                return inRange(value, 0, 59);
            case 's':
                fields.second = static_cast<int>(value);
                return inRange(value, 0, 59);
            case 'S':
                fields.fraction = static_cast<double>(value) / std::pow(10.0, static_cast<double>(digits.size()));
                return true;
            }
            return false;
        }

        bool readText(std::string_view& text, const DatePattern::Token& token, ParsedFields& fields)
        {
            switch (token.letter) {
            case 'M':
            case 'L': {
                auto month = readName(text, m_symbols.months);
                if (!month)
                    month = readName(text, m_symbols.shortMonths);
                if (month)
                    fields.month = *month + 1;
                return month.has_value();
            }
            case 'E': {
                auto weekday = readName(text, m_symbols.weekdays);
                return weekday || readName(text, m_symbols.shortWeekdays);
            }
            case 'a': {
                auto period = readName(text, m_symbols.dayPeriods);
                fields.pm = period == 1;
                return period.has_value();
            }
            case 'Z':
                return readOffset(text, fields);
            }
            return false;
        }

        static bool readOffset(std::string_view& text, ParsedFields& fields)
        {
            if (text.starts_with('Z')) {
                text.remove_prefix(1);
                fields.offset = 0;
                return true;
            }
            if (text.size() < 5 || (text[0] != '+' && text[0] != '-'))
                return false;
            bool colon = text[3] == ':';
            std::string_view digits = colon ? text.substr(1, 2) : text.substr(1, 4);
            std::string joined = colon ? std::string(digits) + std::string(text.substr(4, 2)) : std::string(digits);
            if (joined.size() != 4
                || !std::all_of(joined.begin(), joined.end(), [](char c) { return c >= '0' && c <= '9'; }))
                return false;
            int hours = (joined[0] - '0') * 10 + (joined[1] - '0');
            int minutes = (joined[2] - '0') * 10 + (joined[3] - '0');
            if (hours > 23 || minutes > 59)
                return false;
            fields.offset = (text[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
            text.remove_prefix(colon ? 6 : 5);
            return true;
        }

        const std::vector<DatePattern::Token>& m_tokens;
        const DateSymbols& m_symbols;
    };

    std::string formatField(
        const DatePattern::Token& token, const std::tm& wall, double fraction, const DateSymbols& symbols)
    {
        int year = wall.tm_year + 1900;
        int hour = wall.tm_hour;
        switch (token.letter) {
        case 'y':
            return token.width == 2 ? padded(year % 100, 2) : padded(year, token.width);
        case 'M':
        case 'L':
            if (token.width >= 4)
                return symbols.months[wall.tm_mon];
            if (token.width == 3)
                return symbols.shortMonths[wall.tm_mon];
            return padded(wall.tm_mon + 1, token.width);
        case 'd':
            return padded(wall.tm_mday, token.width);
        case 'H':
            return padded(hour, token.width);
        case 'k':
            return padded(hour == 0 ? 24 : hour, token.width);
        case 'h':
            return padded(hour % 12 == 0 ? 12 : hour % 12, token.width);
        case 'K':
            return padded(hour % 12, token.width);
        case 'm':
            return padded(wall.tm_min, token.width);
        case 's':
            return padded(wall.tm_sec, token.width);
        case 'S': {
            int digits = std::min(token.width, 9);
            auto scaled = static_cast<long long>(std::floor(fraction * std::pow(10.0, digits)));
            return padded(scaled, digits) + std::string(static_cast<size_t>(token.width - digits), '0');
        }
        case 'a':
            return symbols.dayPeriods[hour >= 12 ? 1 : 0];
        case 'E':
            return token.width >= 4 ? symbols.weekdays[wall.tm_wday] : symbols.shortWeekdays[wall.tm_wday];
        case 'Z':
            return offsetText(static_cast<int>(wall.tm_gmtoff), token.width >= 4);
        }
        return "";
    }

} // namespace

DateFormatter::DateFormatter()
{
    auto languages = Facts::current().preferredLanguages();
    m_locale = languages.empty() ? "en" : languages.front();
}

DateFormatter::DateFormatter(std::string pattern)
    : DateFormatter()
{
    setDateFormat(std::move(pattern));
}

void DateFormatter::setDateFormat(std::string pattern)
{
    m_format = std::move(pattern);
    m_pattern = DatePattern(m_format);
}

void DateFormatter::setDateStyle(Style style)
{
    m_dateStyle = style;
    applyStyles();
}

void DateFormatter::setTimeStyle(Style style)
{
    m_timeStyle = style;
    applyStyles();
}

void DateFormatter::setLocale(std::string identifier)
{
    m_locale = std::move(identifier);
    applyStyles();
}

void DateFormatter::applyStyles()
{
    if (m_dateStyle == Style::None && m_timeStyle == Style::None)
        return;
    const DateSymbols& symbols = DateSymbols::forLocale(m_locale);
    std::string pattern;
    if (m_dateStyle == Style::Short)
        pattern = symbols.shortDatePattern;
    if (m_timeStyle == Style::Short)
        pattern += (pattern.empty() ? "" : symbols.dateTimeSeparator) + symbols.shortTimePattern;
    setDateFormat(std::move(pattern));
}

std::string DateFormatter::stringFromDate(Date date) const
{
    double seconds = date.timeIntervalSince1970();
    double whole = std::isfinite(seconds) ? std::floor(seconds) : 0;
    double fraction = std::isfinite(seconds) ? seconds - whole : 0;
    whole = std::clamp(whole, double(TimeZone::earliestInstant), double(TimeZone::latestInstant));
    std::tm wall = m_zone.wallClock(static_cast<int64_t>(whole));
    const DateSymbols& symbols = DateSymbols::forLocale(m_locale);
    std::string text;
    for (const auto& token : m_pattern.tokens())
        text += token.isField() ? formatField(token, wall, fraction, symbols) : token.literal;
    return text;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) const
{
    auto fields = TextReader(m_pattern, DateSymbols::forLocale(m_locale)).read(text);
    if (!fields || fields->day > daysInMonth(fields->year, fields->month))
        return std::nullopt;
    std::tm wall {};
    wall.tm_year = fields->year - 1900;
    wall.tm_mon = fields->month - 1;
    wall.tm_mday = fields->day;
    wall.tm_hour = fields->hour24 ? *fields->hour24 : fields->hour12.value_or(0) + (fields->pm ? 12 : 0);
    wall.tm_min = fields->minute;
    wall.tm_sec = fields->second;
    auto instant = (fields->offset ? TimeZone::fixed(*fields->offset) : m_zone).instant(wall);
    if (!instant)
        return std::nullopt;
    return Date::fromTimeIntervalSince1970(static_cast<double>(*instant) + fields->fraction);
}

} // namespace base
