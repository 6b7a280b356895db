// The start of a step challenge on its set-up screen and its finish on the progress screen, under every way
// the service can fail, answers held past the time-out included: each sends one request; a failed start
// never opens the progress screen, the set-up screen stays and the watch's record is not marked running; a
// failed finish leaves the progress screen and the record's challenge as they were. (An answer held past the
// time-out changes the challenge at the service all the same, so no later answered write is tried here; the
// set-up and progress tests show those.)
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "childcare/challenge/ParentChildVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "shell/menu/MainMenuVC.h"

namespace {

using childcare::ParentChildVC;
using tracking_service::DemoData;
using tracking_service::Fault;

class ChallengeWriteFaults : public test::ChallengeTest {
protected:
    static std::vector<std::pair<const char*, Fault>> everyFaultKind()
    {
        return { { "status 500", Fault::status(500) }, { "dropped connection", Fault::dropConnection() },
            { "not JSON", Fault::nonJsonBody() }, { "no payload", Fault::noPayload() },
            { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
            { "a number", Fault::payload(base::Value(0)) }, { "answer after the time-out", Fault::held() } };
    }
};

TEST_F(ChallengeWriteFaults, NoFailedStartOpensTheProgressOrMarksTheChallengeRunning)
{
    signInWith(DemoData::Watch40SerialNumber);
    tap(home()->functionButton());
    ASSERT_TRUE(pumpUntil([this] { return top<ParentChildVC>() && networkIdle() && shownAlert(); }));
    auto screen = top<ParentChildVC>();
    takeAlertMessage();
    auto start = [&] {
        tap(screen->targetButtons()[1]);
        clock->advance(0s);
        ASSERT_TRUE(shownAlert());
        tapAlertButton(1);
        ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        pass(3);
    };
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("LumetParentChildInteraction");
        underFault("LumetParentChildInteraction", fault, start);
        takeAlertMessage();
        EXPECT_EQ(requestsTo("LumetParentChildInteraction"), sent + 1);
        EXPECT_EQ(top<ParentChildVC>(), screen);
        EXPECT_FALSE(top<childcare::PedometerVC>());
        auto config = screen->deviceDetail() ? screen->deviceDetail()->lumetDeviceConfig : nullptr;
        EXPECT_FALSE(config && config->IsPerdometerRunning);
    }
}

TEST_F(ChallengeWriteFaults, NoFailedFinishEndsTheChallengeOrLeavesTheProgress)
{
    signInWith(watch);
    auto device = home()->deviceDetail();
    ASSERT_TRUE(device && device->lumetDeviceConfig);
    service.store().setDocument(watch, tracking_service::ServiceStore::StepCountDocument, base::Value(100));
    auto screen = childcare::PedometerVC::make(6000, device, true);
    push(screen);
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetGetStepCount") == 1 && networkIdle(); }));
    auto target = device->lumetDeviceConfig->TargetStepCount;
    bool running = device->lumetDeviceConfig->IsPerdometerRunning;
    for (const auto& [kind, fault] : everyFaultKind()) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("LumetCancelParentChildInteraction");
        underFault("LumetCancelParentChildInteraction", fault, [&] {
            screen->cancelParentChildInteraction();
            ASSERT_TRUE(pumpUntil([this] { return networkIdle(); }));
        });
        pass(0.5);
        EXPECT_EQ(requestsTo("LumetCancelParentChildInteraction"), sent + 1);
        EXPECT_EQ(top<childcare::PedometerVC>(), screen);
        EXPECT_EQ(device->lumetDeviceConfig->TargetStepCount, target);
        EXPECT_EQ(device->lumetDeviceConfig->IsPerdometerRunning, running);
        takeAlertMessage();
    }
}

} // namespace
