#include "childcare/schedule/WeekCourse.h"

#include "base/loop/MainThread.h"

#include <charconv>

namespace childcare {

int integerOf(const std::optional<std::string>& text)
{
    if (!text)
        return 0;
    size_t start = text->find_first_not_of(' ');
    if (start == std::string::npos)
        return 0;
    int value = 0;
    std::from_chars(text->data() + start, text->data() + text->size(), value);
    return value;
}

std::string describe(const std::optional<std::string>& text) { return text ? *text : "(null)"; }

std::string describe(const std::optional<base::Value>& value) { return value ? value->description() : "(null)"; }

std::shared_ptr<WeekCourse> WeekCourse::withLesson(const core::Lumet_ClassInfoWeek* record)
{
    BASE_ASSERT_MAIN_THREAD();
    auto course = std::make_shared<WeekCourse>();
    if (!record)
        return course;
    course->day = record->weekday;
    course->lesson = record->lesson;
    course->lessonsNum = record->lessonNum;
    course->courseName = record->courseName;
    course->startH = record->start_H;
    course->startM = record->start_M;
    course->endH = record->end_H;
    course->endM = record->end_M;
    return course;
}

std::string WeekCourse::timeText() const
{
    return describe(startH) + ":" + describe(startM) + "~" + describe(endH) + ":" + describe(endM);
}

std::string WeekCourse::description() const
{
    return "weeks : " + describe(weeks) + "\nday : " + describe(day) + "\nlesson : " + describe(lesson)
        + "\nlessonsNum : " + describe(lessonsNum) + "\ncourseName : " + describe(courseName) + "\n";
}

} // namespace childcare
