#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "core/readers/Tool.h"

#include <gtest/gtest.h>

using core::Tool;

namespace {

std::shared_ptr<core::Lumet_ClassInfo> read(const std::string& rows, const std::string& state = "1")
{
    return Tool::getClassInfoFromJson(R"({"d":{"State":)" + state + R"(,"Lumet_ClassInfoEntity":)" + rows + "}}");
}

void expectFree(const core::Lumet_ClassInfo& timetable, size_t lesson)
{
    EXPECT_EQ(timetable.start_H[lesson], base::Value("0"));
    EXPECT_EQ(timetable.start_M[lesson], base::Value("00"));
    EXPECT_EQ(timetable.end_H[lesson], base::Value("0"));
    EXPECT_EQ(timetable.end_M[lesson], base::Value("00"));
    for (const auto& day : timetable.arr) {
        EXPECT_EQ(day[lesson]->courseName, "");
        EXPECT_EQ(day[lesson]->start_H, base::Value("00"));
        EXPECT_FALSE(day[lesson]->lesson);
    }
}

TEST(ToolClassInfo, RowsArePlacedByLessonNumberNotPosition)
{
    auto timetable = read(R"([{"Name":3,"Start_H":10,"Start_M":5,"End_H":10,"End_M":50,"D1":"Maths"},
        {"Name":"1","Start_H":"8","Start_M":"0","End_H":8,"End_M":45,"D2":"Art","D7":"Chess"}])");
    ASSERT_TRUE(timetable);
    EXPECT_EQ(timetable->total, 8);
    EXPECT_EQ(timetable->state, 1);
    for (const auto& day : timetable->arr)
        ASSERT_EQ(day.size(), 8u);
    ASSERT_EQ(timetable->start_H.size(), 8u);

    EXPECT_EQ(timetable->start_H[2], base::Value(10));
    EXPECT_EQ(timetable->start_M[2], base::Value("05"));
    EXPECT_EQ(timetable->arr[0][2]->courseName, "Maths");
    EXPECT_EQ(timetable->arr[0][2]->lesson, "3");
    EXPECT_EQ(timetable->arr[0][2]->lessonNum, "1");
    EXPECT_EQ(timetable->arr[0][2]->weekDay, 1);
    EXPECT_EQ(timetable->arr[0][2]->end_M, base::Value("50"));
    EXPECT_EQ(timetable->arr[1][2]->courseName, "");

    EXPECT_EQ(timetable->start_H[0], base::Value("8"));
    EXPECT_EQ(timetable->start_M[0], base::Value("00"));
    EXPECT_EQ(timetable->arr[1][0]->courseName, "Art");
    EXPECT_EQ(timetable->arr[6][0]->courseName, "Chess");
    EXPECT_EQ(timetable->arr[6][0]->weekDay, 7);
    expectFree(*timetable, 1);
}

TEST(ToolClassInfo, MinutesArePaddedFromTheirValue)
{
    auto timetable = read(R"([{"Name":1,"Start_M":"05","End_M":9},{"Name":2,"Start_M":10,"End_M":"59"},
        {"Name":3,"Start_M":null},{"Name":4}])");
    EXPECT_EQ(timetable->start_M[0], base::Value("05"));
    EXPECT_EQ(timetable->end_M[0], base::Value("09"));
    EXPECT_EQ(timetable->start_M[1], base::Value("10"));
    EXPECT_EQ(timetable->end_M[1], base::Value("59"));
    EXPECT_EQ(timetable->start_M[2], base::Value("00"));
    EXPECT_EQ(timetable->start_M[3], base::Value("00"));
    EXPECT_EQ(timetable->start_H[3], base::Value("0"));
}

TEST(ToolClassInfo, RowsWithoutUsableNumberGoByPositionAndRepeatsReplace)
{
    base::Log::ScopedCapture log;
    auto timetable = read(R"([{"Name":null,"D1":"first"},{"Name":12,"D1":"second"},{"Name":2,"D1":"third"},
        {"D1":"fourth"},"junk",{"Name":0,"D1":"sixth"},{"Name":9,"D1":"beyond"},{"D1":"none"},{"D1":"ninth"}])");
    ASSERT_TRUE(timetable);
    const auto& monday = timetable->arr[0];
    EXPECT_EQ(monday[0]->courseName, "first");
    EXPECT_EQ(monday[0]->lesson, "1");
    EXPECT_EQ(monday[1]->courseName, "third");
    EXPECT_EQ(monday[3]->courseName, "fourth");
    EXPECT_EQ(monday[5]->courseName, "sixth");
    EXPECT_EQ(monday[6]->courseName, "beyond");
    EXPECT_EQ(monday[6]->lesson, "9");
    EXPECT_EQ(monday[7]->courseName, "none");
    EXPECT_EQ(monday.size(), 8u);
    EXPECT_TRUE(log.contains("lesson 2 given twice"));
    EXPECT_TRUE(log.contains("lesson row 9 lies past lesson 8"));
}

TEST(ToolClassInfo, NoRowsGiveEightFreeLessons)
{
    EXPECT_FALSE(Tool::getClassInfoFromJson(""));
    for (const char* reply :
        { "<html>", R"({"d":null})", R"({"d":{"State":1}})", R"({"d":{"Lumet_ClassInfoEntity":[]}})" }) {
        SCOPED_TRACE(reply);
        auto timetable = Tool::getClassInfoFromJson(reply);
        ASSERT_TRUE(timetable);
        for (size_t lesson = 0; lesson < 8; ++lesson)
            expectFree(*timetable, lesson);
    }
    EXPECT_EQ(Tool::getClassInfoFromJson(R"({"d":{"State":1}})")->state, 1);
    EXPECT_EQ(Tool::getClassInfoFromJson(R"({"d":{"State":null}})")->state, 0);
}

TEST(ToolClassInfo, WeekNamesTheDaysOverTheSameLessons)
{
    auto timetable = read(R"([{"Name":1,"D5":"Music"}])");
    auto week = Tool::getClassInfoWeek(*timetable);
    ASSERT_EQ(week.size(), 7u);
    EXPECT_EQ(week[0].weekDay, "monday");
    EXPECT_EQ(week[6].weekDay, "sunday");
    EXPECT_EQ(week[4].data[0]->courseName, "Music");
    week[4].data[0]->courseName = "Drama";
    EXPECT_EQ(timetable->arr[4][0]->courseName, "Drama");
}

TEST(ToolClassInfo, SubmitRowsCarryPeriodsAndCoursesAsHeld)
{
    EXPECT_EQ(Tool::getSubmitArr(nullptr)->count(), 0u);
    auto timetable = read(R"([{"Name":2,"Start_H":9,"Start_M":5,"End_H":"9","End_M":50,"D3":"PE"}])");
    timetable->arr[6][7]->courseName = "Late";
    auto rows = Tool::getSubmitArr(timetable.get());
    ASSERT_EQ(rows->count(), 8u);
    const auto& second = rows->objectAtIndex(1).dictionary();
    EXPECT_EQ(*second->objectForKey("Name"), base::Value("2"));
    EXPECT_EQ(*second->objectForKey("Start_H"), base::Value(9));
    EXPECT_EQ(*second->objectForKey("Start_M"), base::Value("05"));
    EXPECT_EQ(*second->objectForKey("End_H"), base::Value("9"));
    EXPECT_EQ(*second->objectForKey("D3"), base::Value("PE"));
    EXPECT_EQ(*second->objectForKey("D1"), base::Value(""));
    EXPECT_EQ(*rows->objectAtIndex(7).dictionary()->objectForKey("D7"), base::Value("Late"));

    timetable->start_H.resize(3);
    timetable->arr[2].clear();
    auto shortened = Tool::getSubmitArr(timetable.get());
    ASSERT_EQ(shortened->count(), 8u);
    EXPECT_EQ(*shortened->objectAtIndex(5).dictionary()->objectForKey("Start_H"), base::Value("0"));
    EXPECT_EQ(*shortened->objectAtIndex(1).dictionary()->objectForKey("D3"), base::Value(""));
}

} // namespace
