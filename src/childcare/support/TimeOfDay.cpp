#include "childcare/support/TimeOfDay.h"

#include <algorithm>

namespace childcare {

std::optional<int> TimeOfDay::minutes(const std::string& text)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 1 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c == ':' || (c >= '0' && c <= '9'); }))
        return std::nullopt;
    int hour = std::stoi(text.substr(0, colon));
    int minute = std::stoi(text.substr(colon + 1));
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

} // namespace childcare
