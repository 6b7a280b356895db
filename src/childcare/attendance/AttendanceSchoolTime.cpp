#include "childcare/attendance/AttendanceSchoolTime.h"

#include "core/readers/Tool.h"

#include <cstdio>

namespace childcare {

std::optional<std::string> AttendanceSchoolTime::fromConfig(const core::ConfigText& text)
{
    if (text.isNull())
        return std::nullopt;
    auto date = core::Tool::getDateFromStringSince1970(text.text());
    if (!date || date->timeIntervalSince1970() <= 0)
        return std::nullopt;
    return core::Tool::stringCNFromDate(*date);
}

std::string AttendanceSchoolTime::pickedText(int hour, int minute)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    return text;
}

std::string AttendanceSchoolTime::uploadText(const std::string& day, const std::string& time)
{
    return day + " " + time + ":00";
}

} // namespace childcare
