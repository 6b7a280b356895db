#include "base/time/ServiceDateText.h"

#include <cctype>
#include <cmath>

namespace base {

namespace {

    // Milliseconds beyond the year 9999 either way are not dates the service sends; the bound also keeps
    // the accumulation below from overflowing.
    constexpr long long maxMilliseconds = 253402300800000LL;

} // namespace

std::optional<Date> parseServiceDateText(std::string_view text)
{
    size_t open = text.find('(');
    if (open != std::string_view::npos)
        text.remove_prefix(open + 1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long milliseconds = 0;
    size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        milliseconds = milliseconds * 10 + (text[digits] - '0');
        if (milliseconds > maxMilliseconds)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return Date::fromTimeIntervalSince1970(static_cast<double>(negative ? -milliseconds : milliseconds) / 1000.0);
}

std::string serviceDateText(Date date)
{
    double milliseconds = std::round(date.timeIntervalSince1970() * 1000.0);
    if (!std::isfinite(milliseconds))
        milliseconds = 0;
    milliseconds = std::fmax(-double(maxMilliseconds), std::fmin(double(maxMilliseconds), milliseconds));
    return "/Date(" + std::to_string(static_cast<long long>(milliseconds)) + ")/";
}

} // namespace base
