// childcare::WeekCourse: one course of the class schedule's grid: a lesson, or a block of neighbouring
// lessons of one day with the same name. It owns copies of its texts, so a later change of the timetable's
// record leaves it as it was. Main thread.
//
//   auto course = childcare::WeekCourse::withLesson(timetable->arr[0][2].get()); // Monday, lesson 3
//   course->lesson = "3";
//   std::string shown = course->timeText(); // "10:00~10:45"
#pragma once

#include "base/values/Value.h"
#include "core/records/Lumet_ClassInfoWeek.h"

#include <memory>
#include <optional>
#include <string>

namespace childcare {

struct WeekCourse {
    // "0" for a course made for the entry view; nothing for a course of the grid.
    std::optional<std::string> weeks;
    // "1" Monday to "7" Sunday.
    std::optional<std::string> day;
    // The first lesson, "1" to "8".
    std::optional<std::string> lesson;
    // How many lessons the course spans: "1" from the timetable, more after merging.
    std::optional<std::string> lessonsNum;
    // "" for a free lesson.
    std::optional<std::string> courseName;
    // Start of the first lesson and end of the last, as the timetable holds them.
    std::optional<base::Value> startH;
    std::optional<base::Value> startM;
    std::optional<base::Value> endH;
    std::optional<base::Value> endM;

    // A course of one lesson record; every field empty for no record.
    static std::shared_ptr<WeekCourse> withLesson(const core::Lumet_ClassInfoWeek* record);

    // "%@:%@~%@:%@" of the start and end hours and minutes.
    std::string timeText() const;
    // The weeks, day, lesson, lesson count and name, one "key : value" line each.
    std::string description() const;
};

// The leading integer of a field (after blanks), 0 without one: how the lesson fields are read as numbers.
int integerOf(const std::optional<std::string>& text);

// A field as "%@" shows it: the text itself, "(null)" for none.
std::string describe(const std::optional<std::string>& text);
std::string describe(const std::optional<base::Value>& value);

} // namespace childcare
