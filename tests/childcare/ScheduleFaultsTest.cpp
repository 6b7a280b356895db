// The class schedule when the service fails or refuses: a save shows "setting_failed", keeps the edit for
// the next save and puts the lock switch back; a failed read is said and keeps what the screen showed, and
// a first read that brings no timetable leaves nothing to send.
#include "ScheduleScreenFixture.h"

#include "ui/controls/TextField.h"

namespace {

using tracking_service::Fault;

std::vector<std::pair<std::string, Fault>> everyFault()
{
    return { { "status 500", Fault::status(500) }, { "dropped connection", Fault::dropConnection() },
        { "not JSON", Fault::nonJsonBody() }, { "no d", Fault::noPayload() }, { "null d", Fault::nullPayload() },
        { "d = 0", Fault::payload(base::Value(0)) }, { "refusal", Fault::refusal() } };
}

class ScheduleFaults : public test::ScheduleTest {
protected:
    // Opens a new schedule from the menu, whatever its first read brings.
    void openAnotherSchedule()
    {
        auto before = schedule();
        container()->openDrawerSide(kit::DrawerSide::Left, true);
        ASSERT_TRUE(pumpUntil([this] { return !container()->isAnimatingDrawer(); }));
        shell::TourContext::openMenuRow("class_schedule");
        ASSERT_TRUE(pumpUntil([&] {
            return schedule() && schedule() != before && networkIdle()
                && shell::TourContext::drawerAtRest(kit::DrawerSide::None);
        }));
        clock->advance(1s);
    }
};

TEST_F(ScheduleFaults, AFailedOrRefusedSaveShowsTheFailureAndKeepsTheEditForTheNextSave)
{
    for (const auto& [name, fault] : everyFault()) {
        SCOPED_TRACE(name);
        service.requestLog().clear();
        service.faults().set("LumetSetClassInfo", fault);
        tap(courseAt(1, 3));
        enterName("Latin");
        settle();
        EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
        EXPECT_EQ(requestsTo("LumetSetClassInfo"), 1u);
        EXPECT_EQ(requestsTo("LumetGetClassInfo"), 0u);
        EXPECT_EQ(schedule()->classInfo()->arr[0][2]->courseName, "Latin");
        EXPECT_EQ(courseAt(1, 3)->currentTitle(), "English");
    }
    service.faults().clear();
    schedule()->classLock()->setOn(false);
    schedule()->switchStateChange();
    settle();
    EXPECT_EQ(takeAlertMessage(), base::localized("setting_success"));
    auto sent = savedEntities();
    EXPECT_EQ(sentField(sent.back(), 3, "D1"), base::Value("Latin"));
    EXPECT_EQ(*sent.back()->objectForKey("State"), base::Value(0));
    EXPECT_EQ(courseAt(1, 3)->currentTitle(), "Latin");
    EXPECT_FALSE(schedule()->classLock()->isOn());
}

TEST_F(ScheduleFaults, TheLockSwitchGoesBackWhenItsSaveFails)
{
    for (const auto& [name, fault] : everyFault()) {
        SCOPED_TRACE(name);
        service.faults().set("LumetSetClassInfo", fault);
        // Turned off by the tap: the save carries "State" 0.
        tap(schedule()->classLock());
        settle();
        EXPECT_EQ(takeAlertMessage(), base::localized("setting_failed"));
        EXPECT_TRUE(schedule()->classLock()->isOn());
        EXPECT_EQ(*savedEntities().back()->objectForKey("State"), base::Value(0));
    }
}

TEST_F(ScheduleFaults, AReadThatFailsOrCannotBeReadIsSaidAndKeepsTheGridTheLockAndTheTimetable)
{
    for (const auto& [name, fault] : everyFault()) {
        if (name == "null d")
            continue;
        SCOPED_TRACE(name);
        service.faults().set("LumetGetClassInfo", fault);
        auto timetable = schedule()->classInfo();
        schedule()->loadNetData();
        ASSERT_TRUE(pumpUntil([] { return networkIdle(); }));
        clock->advance(0.6s);
        const char* said = fault.kind == Fault::Kind::DropConnection ? "bad_netword" : "load_failed";
        EXPECT_TRUE(textInRegion(base::localized(said), { 0, 0, 320, 568 }));
        EXPECT_EQ(schedule()->classInfo(), timetable);
        EXPECT_EQ(schedule()->courseButtons().size(), 15u);
        EXPECT_TRUE(schedule()->classLock()->isOn());
        EXPECT_EQ(takeAlertMessage(), "");
        pass(2);
    }
}

TEST_F(ScheduleFaults, AScheduleWhoseFirstReadFailsHasNothingToSend)
{
    service.faults().set("LumetGetClassInfo", Fault::nonJsonBody());
    openAnotherSchedule();
    EXPECT_FALSE(schedule()->classInfo());
    EXPECT_TRUE(schedule()->courseButtons().empty());
    // Once the notice has gone, the failure stays said in place of the grid, under the week's dates.
    const gfx::Rect failureLineBand { 0, 94, 320, 60 };
    pass(2.1);
    EXPECT_TRUE(textInRegion(base::localized("load_failed"), failureLineBand));

    tap(schedule()->classLock());
    EXPECT_FALSE(schedule()->classLock()->isOn());
    tap(schedule()->dayCell(1, 6));
    tap(schedule()->dayCell(1, 6));
    EXPECT_FALSE(schedule()->inputView());
    schedule()->setTime({ base::Value(9) }, { base::Value("00") }, { base::Value(9) }, { base::Value("45") });
    settle();
    EXPECT_EQ(requestsTo("LumetSetClassInfo"), 0u);

    // The first timetable read takes the failure's place.
    service.faults().clear();
    schedule()->loadNetData();
    settle();
    EXPECT_FALSE(schedule()->courseButtons().empty());
    EXPECT_FALSE(textInRegion(base::localized("load_failed"), failureLineBand));
}

TEST_F(ScheduleFaults, ANullPayloadReadsAsAnEmptyTimetable)
{
    service.faults().set("LumetGetClassInfo", Fault::nullPayload());
    schedule()->loadNetData();
    settle();
    ASSERT_TRUE(schedule()->classInfo());
    EXPECT_TRUE(schedule()->courseButtons().empty());
    EXPECT_FALSE(schedule()->classLock()->isOn());
    EXPECT_EQ(schedule()->arrClassTime(), std::vector<std::string>(8, "0:00~0:00"));
}

} // namespace
