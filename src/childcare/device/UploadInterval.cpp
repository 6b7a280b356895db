#include "childcare/device/UploadInterval.h"

#include <algorithm>
#include <limits>

namespace childcare {

namespace {

    constexpr int64_t parvoTypes[] = { 2, 7, 16, 20 };
    constexpr int64_t morvikType = 4;
    constexpr int64_t segmentTypes[] = { 13, 18 };

    bool isOneOf(int64_t type, const auto& types)
    {
        return std::find(std::begin(types), std::end(types), type) != std::end(types);
    }

    bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::optional<UploadInterval::Command> UploadInterval::commandFor(std::optional<int64_t> deviceType, Segment segment)
{
    if (!deviceType)
        return std::nullopt;
    if (isOneOf(*deviceType, parvoTypes))
        return Command { ParvoMethod, true };
    if (*deviceType == morvikType)
        return Command { MorvikMethod, false };
    if (isOneOf(*deviceType, segmentTypes))
        return segment == Segment::GPS ? Command { ParvoMethod, true } : Command { TolvaMethod, false };
    return std::nullopt;
}

bool UploadInterval::hasSegment(std::optional<int64_t> deviceType)
{
    return deviceType && isOneOf(*deviceType, segmentTypes);
}

std::optional<int32_t> UploadInterval::parse(std::string_view entry)
{
    while (!entry.empty() && isBlank(entry.front()))
        entry.remove_prefix(1);
    while (!entry.empty() && isBlank(entry.back()))
        entry.remove_suffix(1);
    if (entry.empty())
        return std::nullopt;
    int64_t value = 0;
    for (char c : entry) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

base::DictionaryRef UploadInterval::body(const Command& command, const std::string& serialNumber, int32_t interval)
{
    if (command.method == std::string_view(MorvikMethod))
        return base::Dictionary::make(
            { { "Serialnumber", serialNumber }, { "interval", interval }, { "count", MorvikCount } });
    if (command.method == std::string_view(TolvaMethod))
        return base::Dictionary::make({ { "Serialnumber", serialNumber }, { "time", interval } });
    return base::Dictionary::make({ { "Serialnumber", serialNumber }, { "ConTimeSpan", interval } });
}

} // namespace childcare
