// childcare::AttendanceSchoolTime: the school entry and leaving times as the attendance screens handle them.
// The watch's configuration holds each as the service's date text; the screens show and send "HH:mm". A time
// that is null, blank, unreadable or not after 1970 is no time at all: the screens then show the default
// time and keep nothing. An upload carries the day the attendance screen was loaded and the picked time.
// Pure; main thread (local time zone).
//
//   std::optional<std::string> in = childcare::AttendanceSchoolTime::fromConfig(config->enterCampusTime);
//   parameters->setObject(childcare::AttendanceSchoolTime::uploadText(loadDay, "07:30"), "EnterTime");
#pragma once

#include "core/records/ConfigText.h"
#include "core/state/SettingsKeys.h"

#include <optional>
#include <string>

namespace childcare {

class AttendanceSchoolTime {
public:
    static constexpr const char* DefaultInTime = "09:00";
    static constexpr const char* DefaultOutTime = "17:00";
    // Settings keys of the times the attendance screen knows.
    static constexpr const char* InTimeKey = core::SettingsKeys::InTime;
    static constexpr const char* OutTimeKey = core::SettingsKeys::OutTime;

    // "HH:mm" of the configuration's date text; nothing when it holds no usable time.
    [[nodiscard]] static std::optional<std::string> fromConfig(const core::ConfigText& text);
    // "HH:mm" of the hour and minute on a picker's wheels, read as they stand: a date rebuilt on the picker's
    // day would move by an hour on a day the clocks change.
    static std::string pickedText(int hour, int minute);
    // "<yyyy-MM-dd> <HH:mm>:00".
    static std::string uploadText(const std::string& day, const std::string& time);
};

} // namespace childcare
