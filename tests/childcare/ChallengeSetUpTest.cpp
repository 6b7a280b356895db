// The parent-child step challenge's set-up screen against the local service: the state of the watch's
// challenge by its detail, picking a target and a reward, the start request and its refusals, and the
// re-query of a detail without a device state, which ends when the screen is left.
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "childcare/challenge/ParentChildVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "shell/menu/MainMenuVC.h"
#include "ui/controls/TextField.h"

namespace {

using childcare::ParentChildVC;
using tracking_service::DemoData;
using tracking_service::Fault;

class ChallengeSetUp : public test::ChallengeTest {
protected:
    // Opens the set-up screen from the home screen's function button and waits for its detail and alert.
    std::shared_ptr<ParentChildVC> open()
    {
        tap(home()->functionButton());
        EXPECT_TRUE(pumpUntil([this] { return top<ParentChildVC>() && networkIdle() && shownAlert(); }));
        return top<ParentChildVC>();
    }

    // Taps a target button, 0 for 3000, and waits for the reward alert.
    void pickTarget(const std::shared_ptr<ParentChildVC>& screen, size_t row)
    {
        tap(screen->targetButtons()[row]);
        clock->advance(0s);
        ASSERT_TRUE(shownAlert());
        ASSERT_EQ(shownAlert()->title(), base::localized("rewards"));
    }

    static std::vector<bool> enabled(const std::shared_ptr<ParentChildVC>& screen)
    {
        std::vector<bool> states;
        for (const auto& button : screen->targetButtons())
            states.push_back(button->isEnabled());
        return states;
    }

    // A point of a target button's disc between its rim and its footprints.
    static gfx::Point discPoint() { return { 14, 44 }; }
};

TEST_F(ChallengeSetUp, ARunningChallengeEnablesOnlyItsTargetAndOpensItsProgress)
{
    signInWith(watch);
    size_t detailsBefore = requestsTo("GetDeviceDetial");
    auto screen = open();
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->isShowRight());
    EXPECT_EQ(requestsTo("GetDeviceDetial"), detailsBefore + 1);
    EXPECT_EQ(shownAlert()->message(), base::localized("tasks_in_progress"));
    EXPECT_EQ(enabled(screen), (std::vector<bool> { false, true, false }));
    EXPECT_TRUE(isGrey(colourAt(screen->targetButtons()[0], discPoint())));
    EXPECT_FALSE(isGrey(colourAt(screen->targetButtons()[1], discPoint())));
    EXPECT_EQ(setting("stepCount"), base::Value("6000.000000"));
    EXPECT_EQ(setting("stepNum"), base::Value("4321.000000"));
    takeAlertMessage();

    tap(screen->targetButtons()[1]);
    ASSERT_TRUE(pumpUntil([this] { return top<childcare::PedometerVC>() != nullptr; }));
    EXPECT_EQ(top<childcare::PedometerVC>()->index(), 6000);
    EXPECT_EQ(top<childcare::PedometerVC>()->deviceDetail(), screen->deviceDetail());
}

// What the screen kept of the device is the signed-in account's: a sign-out forgets it, so that nothing of it is
// left for the next account.
TEST_F(ChallengeSetUp, WhatTheScreenKeptOfTheDeviceIsForgottenAtSignOut)
{
    signInWith(watch);
    ASSERT_TRUE(open());
    takeAlertMessage();
    ASSERT_TRUE(setting("stepCount"));
    ASSERT_TRUE(setting("stepNum"));
    signOut();
    for (const char* key : core::SettingsKeys::SignedInDeviceKeys)
        EXPECT_FALSE(setting(key)) << key;
}

TEST_F(ChallengeSetUp, OpenedFromTheMenuItShowsTheDrawerButton)
{
    auto screen = shell::ScreenDirectory::shared().make(
        shell::ScreenDirectory::Interaction, nullptr, shell::ScreenDirectory::Opening::DrawerCentre);
    auto setUp = std::dynamic_pointer_cast<ParentChildVC>(screen);
    ASSERT_TRUE(setUp);
    setUp->view();
    EXPECT_TRUE(setUp->isShowRight());
    EXPECT_TRUE(setUp->navigationItem()->leftBarButtonItem());
}

TEST_F(ChallengeSetUp, InTheFreeStateATargetIsPickedAndCancelFreesItAgainSendingNothing)
{
    signInWith(DemoData::Watch40SerialNumber);
    auto screen = open();
    ASSERT_TRUE(screen);
    EXPECT_EQ(shownAlert()->title(), base::localized("new_tasks_can_released"));
    takeAlertMessage();
    EXPECT_EQ(enabled(screen), (std::vector<bool> { true, true, true }));

    pickTarget(screen, 2);
    EXPECT_EQ(enabled(screen), (std::vector<bool> { false, false, true }));
    tapAlertButton(0);
    EXPECT_EQ(enabled(screen), (std::vector<bool> { true, true, true }));
    pass(1);
    EXPECT_EQ(requestsTo("LumetParentChildInteraction"), 0u);
}

TEST_F(ChallengeSetUp, AnEmptyRewardStartsTheChallengeAndOpensItsProgress)
{
    signInWith(DemoData::Watch40SerialNumber);
    auto screen = open();
    takeAlertMessage();
    pickTarget(screen, 0);
    tapAlertButton(1);
    ASSERT_TRUE(pumpUntil([this] { return top<childcare::PedometerVC>() != nullptr; }));
    EXPECT_EQ(top<childcare::PedometerVC>()->index(), 3000);

    auto bodies = bodiesTo("LumetParentChildInteraction");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(field(bodies[0], "Serialnumber"), base::Value(DemoData::Watch40SerialNumber));
    EXPECT_EQ(field(bodies[0], "reward"), base::Value(""));
    EXPECT_EQ(field(bodies[0], "Value"), base::Value(3000));
}

TEST_F(ChallengeSetUp, TheRewardTypedGoesWithTheTargetWhenReturnConfirmsItAsDoneDoes)
{
    signInWith(DemoData::Watch40SerialNumber);
    auto screen = open();
    takeAlertMessage();
    pickTarget(screen, 1);
    shownAlert()->textFieldAtIndex(0)->setText("ice cream");
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton([this] { pressReturn(); }));
    ASSERT_TRUE(pumpUntil([this] { return top<childcare::PedometerVC>() != nullptr; }));
    auto bodies = bodiesTo("LumetParentChildInteraction");
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(field(bodies[0], "reward"), base::Value("ice cream"));
    EXPECT_EQ(field(bodies[0], "Value"), base::Value(6000));
}

TEST_F(ChallengeSetUp, AnyAnswerButTheTextZeroIsARefusalThatOpensNothing)
{
    signInWith(DemoData::Watch40SerialNumber);
    auto screen = open();
    takeAlertMessage();
    for (const Fault& fault : { Fault::payload(base::Value("1")), Fault::payload(base::Value(0)), Fault::nullPayload(),
             Fault::noPayload(), Fault::nonJsonBody() }) {
        service.faults().set("LumetParentChildInteraction", fault);
        pickTarget(screen, 0);
        tapAlertButton(1);
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        EXPECT_EQ(takeAlertMessage(), base::localized("device_offline_posted_failed"));
        EXPECT_EQ(top<ParentChildVC>(), screen);
        EXPECT_EQ(enabled(screen), (std::vector<bool> { true, false, false }));
    }
}

TEST_F(ChallengeSetUp, AFailedStartShowsTheNetworkNoticeAndKeepsTheChosenTarget)
{
    signInWith(DemoData::Watch40SerialNumber);
    auto screen = open();
    takeAlertMessage();
    for (const Fault& fault : { Fault::status(500), Fault::dropConnection() }) {
        service.faults().set("LumetParentChildInteraction", fault);
        pickTarget(screen, 2);
        tapAlertButton(1);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        clock->advance(0.3s);
        EXPECT_TRUE(textInRegion(base::localized("bad_netword"), { 0, 0, 320, 568 }));
        EXPECT_FALSE(shownAlert());
        EXPECT_EQ(top<ParentChildVC>(), screen);
        EXPECT_EQ(enabled(screen), (std::vector<bool> { false, false, true }));
        pass(3);
    }
}

TEST_F(ChallengeSetUp, ADetailWithoutStateIsAskedAgainWithoutStackingAlertsUntilTheScreenIsLeft)
{
    signInWith(watch);
    service.faults().set("GetDeviceDetial", Fault::nonJsonBody());
    auto screen = open();
    ASSERT_TRUE(screen);
    EXPECT_EQ(shownAlert()->title(), base::localized("new_tasks_can_released"));
    EXPECT_EQ(enabled(screen), (std::vector<bool> { true, true, true }));
    pass(0.5);
    size_t first = requestsTo("GetDeviceDetial");
    pass(2.2);
    EXPECT_EQ(requestsTo("GetDeviceDetial"), first);
    pass(0.6);
    EXPECT_EQ(requestsTo("GetDeviceDetial"), first + 1);
    pass(3);
    EXPECT_EQ(requestsTo("GetDeviceDetial"), first + 2);
    EXPECT_EQ(alertsShown(), 1u);

    takeAlertMessage();
    navigation()->popViewController(false);
    // The home screen may fetch its own detail as it comes back; after that, nothing more.
    pass(1);
    size_t whenLeft = requestsTo("GetDeviceDetial");
    pass(10);
    EXPECT_EQ(requestsTo("GetDeviceDetial"), whenLeft);
    EXPECT_FALSE(shownAlert());
}

TEST_F(ChallengeSetUp, AnUnusualTargetLeavesTheButtonsAndItsProgressOpensOnAnyTap)
{
    signInWith(DemoData::Watch40SerialNumber);
    service.store().setDetailFields(DemoData::Watch40SerialNumber,
        { { "LumetDevice_Config", "TargetStepCount", base::Value(5000) },
            { "LumetDevice_Config", "IsPerdometerFinish", base::Value(1) } });
    auto screen = open();
    EXPECT_EQ(takeAlertMessage(), base::localized("tasks_finish"));
    EXPECT_EQ(enabled(screen), (std::vector<bool> { true, true, true }));
    tap(screen->targetButtons()[2]);
    ASSERT_TRUE(pumpUntil([this] { return top<childcare::PedometerVC>() != nullptr; }));
    EXPECT_EQ(top<childcare::PedometerVC>()->index(), 5000);
}

TEST_F(ChallengeSetUp, ANegativeTargetNeverOpensTheProgressScreen)
{
    signInWith(DemoData::Watch40SerialNumber);
    service.store().setDetailFields(
        DemoData::Watch40SerialNumber, { { "LumetDevice_Config", "TargetStepCount", base::Value(-3000) } });
    auto screen = open();
    EXPECT_EQ(takeAlertMessage(), base::localized("unfinished_tasks"));
    tap(screen->targetButtons()[0]);
    pass(1);
    EXPECT_EQ(top<ParentChildVC>(), screen);
    EXPECT_FALSE(shownAlert());
}

TEST_F(ChallengeSetUp, ComingBackFromTheProgressScreenFetchesTheDetailAgain)
{
    signInWith(watch);
    auto screen = open();
    takeAlertMessage();
    tap(screen->targetButtons()[1]);
    ASSERT_TRUE(pumpUntil([this] { return top<childcare::PedometerVC>() != nullptr && networkIdle(); }));
    size_t before = requestsTo("GetDeviceDetial");
    navigation()->popViewController(false);
    ASSERT_TRUE(
        pumpUntil([&] { return requestsTo("GetDeviceDetial") == before + 1 && networkIdle() && shownAlert(); }));
    EXPECT_EQ(takeAlertMessage(), base::localized("tasks_in_progress"));
}

} // namespace
