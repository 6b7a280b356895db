// The challenge's progress screen against the local service: the ring and percentage from the polled step
// count, the poll every 4 s, the completion screen 2 s after the target, "finish", and that nothing is sent
// or pushed once the screen is left.
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/challenge/CompleteChallengeVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "core/helpers/Helper.h"
#include "core/readers/Tool.h"
#include "kit/progress/CircularProgressView.h"
#include "tracking-service/ServiceStore.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"

namespace {

using childcare::PedometerVC;
using tracking_service::Fault;
using tracking_service::ServiceStore;

class ChallengeProgress : public test::ChallengeTest {
protected:
    void SetUp() override
    {
        ChallengeTest::SetUp();
        signInWith(watch);
        device = home()->deviceDetail();
    }

    void setSteps(base::Value steps) { service.store().setDocument(watch, ServiceStore::StepCountDocument, steps); }

    // Opens the progress screen for the target and waits for the first step reply.
    std::shared_ptr<PedometerVC> open(int32_t target)
    {
        auto screen = PedometerVC::make(target, device, true);
        push(screen);
        EXPECT_TRUE(pumpUntil([this] { return requestsTo("LumetGetStepCount") == 1 && networkIdle(); }));
        clock->advance(0s);
        return screen;
    }

    size_t polls() { return requestsTo("LumetGetStepCount"); }

    std::string percent(const std::shared_ptr<PedometerVC>& screen) { return screen->percentLabel()->text(); }

    std::shared_ptr<core::Device> device;
};

TEST_F(ChallengeProgress, HalfTheTargetFillsHalfTheRingAndPollsAgainFourSecondsLater)
{
    setSteps(base::Value(1500));
    auto screen = open(3000);
    EXPECT_EQ(percent(screen), "50 %");
    EXPECT_FLOAT_EQ(screen->ring()->progress(), 0.5f);
    EXPECT_EQ(screen->countLabel()->text(), base::LocalizedFormat::format(base::localized("count_step"), { 3000 }));
    EXPECT_EQ(setting("currentStepNum"), base::Value(1500));
    EXPECT_EQ(setting("currStepCount"), base::Value("3000"));
    EXPECT_EQ(setting("currentStepCount"), base::Value("3000"));
    EXPECT_EQ(bodiesTo("LumetGetStepCount")[0]->objectForKey("Serialnumber")->stringValue(), watch);

    pass(1);
    // The arc runs clockwise from twelve o'clock: at one half, three o'clock is coloured and nine o'clock not.
    const auto& ring = screen->ring();
    double radius = ring->bounds().width() / 2 - 5;
    gfx::Point centre = ring->bounds().center();
    EXPECT_TRUE(isChallengeGreen(colourAt(ring, { centre.x + radius, centre.y })));
    EXPECT_FALSE(isChallengeGreen(colourAt(ring, { centre.x - radius, centre.y })));

    pass(2.7);
    EXPECT_EQ(polls(), 1u);
    ASSERT_TRUE(pumpUntil([this] { return polls() == 2 && networkIdle(); }, 0.6));
    clock->advance(0s);
    EXPECT_EQ(percent(screen), "70 %");
}

TEST_F(ChallengeProgress, ReachingTheTargetStopsPollingAndOpensTheCompletionTwoSecondsLater)
{
    for (int steps : { 3000, 3500 }) {
        service.requestLog().clear();
        setSteps(base::Value(steps));
        auto screen = open(3000);
        EXPECT_EQ(percent(screen), steps == 3000 ? "100 %" : "116 %");
        EXPECT_FLOAT_EQ(screen->currentPer(), 1.0f);
        pass(1.8);
        EXPECT_EQ(top<PedometerVC>(), screen);
        ASSERT_TRUE(pumpUntil([this] { return top<childcare::CompleteChallengeVC>() != nullptr; }, 0.5));
        EXPECT_EQ(top<childcare::CompleteChallengeVC>()->deviceDetail(), device);
        pass(10);
        EXPECT_EQ(polls(), 1u);

        // Back from the completion screen, the progress screen closes too.
        navigation()->popViewController(false);
        ASSERT_TRUE(pumpUntil([this] { return navigation()->topViewController() == home(); }));
    }
}

TEST_F(ChallengeProgress, ANullOrEmptyStepCountIsNoStepsAndPollingGoesOn)
{
    core::Helper::saveSettingValue(base::Value(12), "currentStepNum");
    service.faults().set("LumetGetStepCount", Fault::nullPayload());
    auto screen = open(3000);
    EXPECT_EQ(percent(screen), "0 %");
    EXPECT_FALSE(setting("currentStepNum"));
    pass(4.2);
    EXPECT_EQ(polls(), 2u);

    service.faults().set("LumetGetStepCount", Fault::payload(base::Value("")));
    pass(4.2);
    EXPECT_EQ(percent(screen), "0 %");
    EXPECT_EQ(setting("currentStepNum"), base::Value(""));
}

TEST_F(ChallengeProgress, ANumericTextCountsAsItsSteps)
{
    setSteps(base::Value("750"));
    auto screen = open(3000);
    EXPECT_EQ(percent(screen), "25 %");
    EXPECT_EQ(setting("currentStepNum"), base::Value("750"));
}

TEST_F(ChallengeProgress, ATargetOfNothingShowsNoProgressAndNeverCompletes)
{
    setSteps(base::Value(5000));
    auto screen = open(0);
    EXPECT_EQ(percent(screen), "0 %");
    EXPECT_FLOAT_EQ(screen->ring()->progress(), 0.0f);
    pass(5);
    EXPECT_EQ(top<PedometerVC>(), screen);
}

TEST_F(ChallengeProgress, LeavingBetweenPollsSendsNothingMore)
{
    setSteps(base::Value(100));
    open(3000);
    navigation()->popViewController(false);
    pass(12);
    EXPECT_EQ(polls(), 1u);
}

TEST_F(ChallengeProgress, LeavingBeforeTheCompletionPushCancelsIt)
{
    setSteps(base::Value(3000));
    open(3000);
    pass(1);
    navigation()->popViewController(false);
    pass(3);
    EXPECT_EQ(navigation()->topViewController(), home());
}

TEST_F(ChallengeProgress, FinishEndsTheChallengeAndItsAlertClosesTheScreen)
{
    setSteps(base::Value(100));
    auto screen = open(6000);
    tap(screen->navigationItem()->rightBarButtonItem()->view());
    ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
    EXPECT_EQ(shownAlert()->message(), base::localized("success"));
    EXPECT_EQ(requestsTo("LumetCancelParentChildInteraction"), 1u);
    EXPECT_EQ(device->lumetDeviceConfig->TargetStepCount, 0);
    EXPECT_FALSE(device->lumetDeviceConfig->IsPerdometerRunning);
    EXPECT_TRUE(device->lumetDeviceConfig->IsPerdometerFinish);
    tapAlertButton(0);
    ASSERT_TRUE(pumpUntil([this] { return navigation()->topViewController() == home(); }));
    EXPECT_EQ(polls(), 1u);
}

TEST_F(ChallengeProgress, AFinishTheServerDoesNotAcceptIsSaidAndTheRingGoesOn)
{
    setSteps(base::Value(100));
    // Far enough that the steps the service adds at each poll never reach it.
    auto screen = open(600000);
    auto target = device->lumetDeviceConfig->TargetStepCount;
    for (const Fault& fault : { Fault::status(500), Fault::dropConnection(), Fault::nonJsonBody(), Fault::noPayload(),
             Fault::nullPayload(), Fault::refusal(), Fault::payload(base::Value(1)) }) {
        service.faults().set("LumetCancelParentChildInteraction", fault);
        size_t before = polls();
        screen->cancelParentChildInteraction();
        ASSERT_TRUE(pumpUntil([] { return shownAlert() != nullptr; }));
        EXPECT_EQ(shownAlert()->title(), base::localized("prompt"));
        EXPECT_EQ(takeAlertMessage(), base::localized("failure"));
        EXPECT_EQ(device->lumetDeviceConfig->TargetStepCount, target);
        EXPECT_TRUE(device->lumetDeviceConfig->IsPerdometerRunning);
        EXPECT_EQ(top<PedometerVC>(), screen);
        // Polling goes on at once and every 4 s after, so the ring follows the watch again.
        ASSERT_TRUE(pumpUntil([&] { return polls() > before && networkIdle(); }));
        size_t resumed = polls();
        pass(4.5);
        EXPECT_GT(polls(), resumed);
    }
}

} // namespace
