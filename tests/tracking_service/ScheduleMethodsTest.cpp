// The class timetable's save: a timetable sent for a device of the account is stored whole and read back;
// a stranger's device or lessons that are not a list of rows are refused and change nothing. The demo
// watch's timetable holds what the schedule's screens need to show.
#include "ServiceFixture.h"

#include "base/values/Array.h"
#include "tracking-service/ServiceStore.h"

namespace {

using tracking_service::DemoData;
using tracking_service::ServiceStore;

class ScheduleMethods : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        cookie = signIn();
    }
    std::optional<base::Value> save(const std::string& id, const std::string& lessons, const std::string& state = "0")
    {
        return payload(call("LumetSetClassInfo",
            R"({"entity":{"_id":")" + id + R"(","Data":"","Lumet_ClassInfoEntity":)" + lessons + R"(,"State":)" + state
                + "}}",
            cookie));
    }
    std::optional<base::Value> read()
    {
        return payload(call(
            "LumetGetClassInfo", std::string(R"({"Serialnumber":")") + DemoData::WatchSerialNumber + "\"}", cookie));
    }

    std::string cookie;
};

TEST_F(ScheduleMethods, ASavedTimetableIsWhatTheNextReadAnswers)
{
    std::string lessons = R"([{"Name":"1","Start_H":8,"Start_M":"05","End_H":8,"End_M":"45","D1":"Chess","D2":"",)"
                          R"("D3":"","D4":"","D5":"","D6":"","D7":""}])";
    EXPECT_EQ(save(DemoData::WatchSerialNumber, lessons, "1"), base::Value("命令提交成功"));
    auto stored = read();
    ASSERT_TRUE(stored && stored->dictionary());
    EXPECT_EQ(*stored->dictionary()->objectForKey("State"), base::Value(1));
    const auto& rows = stored->dictionary()->objectForKey("Lumet_ClassInfoEntity")->array();
    ASSERT_EQ(rows->count(), 1u);
    EXPECT_EQ(*rows->objectAtIndex(0).dictionary()->objectForKey("D1"), base::Value("Chess"));
    EXPECT_EQ(*rows->objectAtIndex(0).dictionary()->objectForKey("Start_M"), base::Value("05"));
}

TEST_F(ScheduleMethods, AStrangersDeviceOrLessonsThatAreNotRowsAreRefused)
{
    auto before = read();
    EXPECT_EQ(save("LW9999999999", "[]"), base::Value("设置失败"));
    EXPECT_EQ(save("", "[]"), base::Value("设置失败"));
    // Lessons that are not rows are not the request's form: refused before the method sees them.
    for (const char* lessons : { R"("lessons")", R"([{"Name":"1"}, 3])", "null" }) {
        auto reply = call("LumetSetClassInfo",
            R"({"entity":{"_id":"LW3600000001","Data":"","Lumet_ClassInfoEntity":)" + std::string(lessons)
                + R"(,"State":0}})",
            cookie);
        EXPECT_EQ(reply->status, 500) << lessons;
    }
    EXPECT_EQ(read(), before);
    EXPECT_EQ(call("LumetSetClassInfo", R"({"entity":{}})")->status, 401);
}

TEST_F(ScheduleMethods, TheDemoTimetableHasABlockARepeatAFreeLessonASaturdayCourseAndTheLock)
{
    auto timetable = read();
    ASSERT_TRUE(timetable && timetable->dictionary());
    EXPECT_EQ(*timetable->dictionary()->objectForKey("State"), base::Value(1));
    const auto& rows = timetable->dictionary()->objectForKey("Lumet_ClassInfoEntity")->array();
    ASSERT_EQ(rows->count(), 8u);
    auto monday = [&](size_t lesson) {
        const base::Value* course = rows->objectAtIndex(lesson).dictionary()->objectForKey("D1");
        return course ? course->stringValue() : std::string();
    };
    EXPECT_EQ(monday(0), monday(1));
    EXPECT_EQ(monday(2), monday(7));
    EXPECT_NE(monday(2), monday(3));
    EXPECT_EQ(monday(5), "");
    EXPECT_TRUE(rows->objectAtIndex(0).dictionary()->objectForKey("D6"));
}

} // namespace
