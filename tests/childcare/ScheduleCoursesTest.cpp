// From a timetable reply to the grid's courses: each lesson placed by its day and its place in the day,
// neighbouring lessons of one day with the same name joined, and the colour texts read.
#include "childcare/schedule/ClassScheduleVC.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

namespace {

using childcare::ClassScheduleVC;
using Courses = ClassScheduleVC::Courses;

// A reply of lesson rows; `days[d][l]` is the course of day d + 1 at lesson l + 1, nullptr for no key.
std::string reply(const std::vector<std::vector<const char*>>& days, const std::vector<std::string>& names = {})
{
    std::string rows;
    for (size_t lesson = 0; lesson < 8; ++lesson) {
        std::string name = lesson < names.size() ? names[lesson] : std::to_string(lesson + 1);
        std::string row = "{\"Name\":" + name + ",\"Start_H\":" + std::to_string(8 + lesson)
            + ",\"Start_M\":5,\"End_H\":" + std::to_string(8 + lesson) + ",\"End_M\":45";
        for (size_t day = 0; day < days.size(); ++day) {
            if (lesson < days[day].size() && days[day][lesson])
                row += ",\"D" + std::to_string(day + 1) + "\":\"" + days[day][lesson] + "\"";
        }
        rows += (rows.empty() ? "" : ",") + row + "}";
    }
    return "{\"d\":{\"State\":1,\"Lumet_ClassInfoEntity\":[" + rows + "]}}";
}

Courses merged(const std::string& text)
{
    auto timetable = core::Tool::getClassInfoFromJson(text);
    return ClassScheduleVC::getNewWeekCourses(ClassScheduleVC::handleWeek(*timetable));
}

// The named courses as "day/lesson+count name".
std::vector<std::string> named(const Courses& courses)
{
    std::vector<std::string> shown;
    for (const auto& course : courses) {
        if (!course->courseName->empty())
            shown.push_back(*course->day + "/" + *course->lesson + "+" + course->lessonsNum.value_or("-") + " "
                + *course->courseName);
    }
    return shown;
}

TEST(ScheduleCourses, NeighbouringEqualNamesOfADayBecomeOneCourseSpanningThem)
{
    Courses courses = merged(reply({ { "Maths", "Maths", "Maths", "Art", nullptr, "Art", "  ", "  " } }));
    EXPECT_EQ(named(courses), (std::vector<std::string> { "1/1+3 Maths", "1/4+1 Art", "1/6+1 Art", "1/7+2   " }));
    // The block runs from the start of its first lesson to the end of its last.
    EXPECT_EQ(courses.front()->timeText(), "8:05~10:45");
}

TEST(ScheduleCourses, TheLastLessonOfADayNeverJoinsTheFirstOfTheNext)
{
    std::vector<const char*> monday(8, nullptr);
    monday[7] = "Art";
    Courses courses = merged(reply({ monday, { "Art", "Art" } }));
    EXPECT_EQ(named(courses), (std::vector<std::string> { "1/8+1 Art", "2/1+2 Art" }));
}

TEST(ScheduleCourses, FreeLessonsStayInTheListAndNeverJoin)
{
    Courses courses = merged(reply({ { nullptr, nullptr, "Maths" } }));
    // Seven days of eight lessons, none joined.
    EXPECT_EQ(courses.size(), 56u);
    EXPECT_EQ(named(courses), (std::vector<std::string> { "1/3+1 Maths" }));
    EXPECT_EQ(*courses[0]->courseName, "");
    EXPECT_EQ(courses[0]->timeText(), "00:00~00:00");
}

TEST(ScheduleCourses, ALessonTakesItsNumberFromItsPlaceAndTheRecordsLearnTheirDay)
{
    // Rows numbered 0, 9 and "x" are placed by position; their courses are lessons 1 to 3 of the grid.
    auto timetable = core::Tool::getClassInfoFromJson(
        reply({ { "A", "B", "C", "D" }, {}, {}, {}, {}, {}, { "Sun" } }, { "0", "9", "\"x\"" }));
    Courses courses = ClassScheduleVC::getNewWeekCourses(ClassScheduleVC::handleWeek(*timetable));
    EXPECT_EQ(named(courses), (std::vector<std::string> { "1/1+1 A", "1/2+1 B", "1/3+1 C", "1/4+1 D", "7/1+1 Sun" }));
    EXPECT_EQ(timetable->arr[0][2]->weekday, "1");
    EXPECT_EQ(timetable->arr[6][0]->weekday, "7");
}

TEST(ScheduleCourses, ACourseKeepsItsOwnCopyOfTheRecord)
{
    auto timetable = core::Tool::getClassInfoFromJson(reply({ { "Maths" } }));
    auto course = childcare::WeekCourse::withLesson(timetable->arr[0][0].get());
    timetable->arr[0][0]->courseName = "Art";
    timetable->arr[0][0]->start_H = base::Value(11);
    EXPECT_EQ(course->courseName, "Maths");
    EXPECT_EQ(course->timeText(), "8:05~8:45");
    EXPECT_EQ(childcare::WeekCourse::withLesson(nullptr)->timeText(), "(null):(null)~(null):(null)");
}

TEST(ScheduleCourses, ColourTextsReadAsRedGreenBlue)
{
    EXPECT_EQ(ClassScheduleVC::handleRandomColorStr("255,0,51"), gfx::Color::rgb(1, 0, 0.2f));
    EXPECT_EQ(ClassScheduleVC::handleRandomColorStr("0,122,199,9"), gfx::Color::rgb(0, 122.0f / 255, 199.0f / 255));
    EXPECT_EQ(ClassScheduleVC::handleRandomColorStr("1,2"), gfx::Color::lightGray());
    EXPECT_EQ(ClassScheduleVC::handleRandomColorStr(""), gfx::Color::lightGray());
}

} // namespace
