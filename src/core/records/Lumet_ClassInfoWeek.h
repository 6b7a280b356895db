// core::Lumet_ClassInfoWeek: one lesson of one day of a watch's timetable: the course and the period's
// times. A free lesson has the course name "" and the times "00". A plain record shared by the timetable and
// the class schedule, which edits it in place. Main thread.
//
//   const auto& lesson = timetable->arr[0][2]; // Monday, third lesson
//   button.setTitle(lesson->courseName);
#pragma once

#include "base/values/Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace core {

struct Lumet_ClassInfoWeek {
    // 1 Monday to 7 Sunday.
    int64_t weekDay { 0 };
    // The same day as the text "1" to "7", set by the class schedule.
    std::optional<std::string> weekday;
    std::string courseName;
    // The lesson number as text; nothing for a free lesson.
    std::optional<std::string> lesson;
    std::optional<std::string> lessonNum;
    // Hours as the service sent them, minutes as two-digit texts.
    base::Value start_H;
    base::Value start_M;
    base::Value end_H;
    base::Value end_M;
};

} // namespace core
