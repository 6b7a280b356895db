// The class schedule's save, made from a course entry and from the lock switch, under every way the service
// can fail, answers held past the time-out included: each save sends one request, shows "setting_failed",
// keeps the entry for the next save and puts the lock switch back.
#include "ScheduleScreenFixture.h"

#include "ui/controls/TextField.h"

namespace {

using tracking_service::Fault;

class ScheduleWriteFaults : public test::ScheduleTest { };

TEST_F(ScheduleWriteFaults, NoFailedSaveReadsAsSavedOrChangesTheGridOrTheLock)
{
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
        { "a number", Fault::payload(base::Value(0)) }, { "answer after the time-out", Fault::held() } };
    for (const auto& [kind, fault] : faults) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("LumetSetClassInfo");
        underFault("LumetSetClassInfo", fault, [&] {
            tap(courseAt(1, 3));
            enterName("Latin");
            settle();
            EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
            EXPECT_EQ(schedule()->classInfo()->arr[0][2]->courseName, "Latin");
            EXPECT_EQ(courseAt(1, 3)->currentTitle(), "English");

            tap(schedule()->classLock());
            settle();
            EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
            EXPECT_TRUE(schedule()->classLock()->isOn());
        });
        EXPECT_EQ(requestsTo("LumetSetClassInfo"), sent + 2);
    }
}

} // namespace
