// The start of a step challenge, made on its set-up screen, under every way the service can fail, answers
// held past the time-out included: each start sends one request, the progress screen never opens, the
// set-up screen stays with the chosen target, and the watch's record is not marked running. (An answer held
// past the time-out starts the challenge at the service all the same, so no later start is tried here; the
// set-up tests show an answered one.)
#include "ChallengeFixture.h"

#include "base/text/Localization.h"
#include "childcare/challenge/ParentChildVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "shell/menu/MainMenuVC.h"

namespace {

using childcare::ParentChildVC;
using tracking_service::DemoData;
using tracking_service::Fault;

class ChallengeStartFaults : public test::ChallengeTest { };

TEST_F(ChallengeStartFaults, NoFailedStartOpensTheProgressOrMarksTheChallengeRunning)
{
    net::URLRequest::setDefaultTimeoutInterval(std::chrono::seconds(1));
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
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
        { "a number", Fault::payload(base::Value(0)) },
        { "answer after the time-out", Fault::delay(std::chrono::milliseconds(1500)) } };
    for (const auto& [kind, fault] : faults) {
        SCOPED_TRACE(kind);
        size_t sent = requestsTo("LumetParentChildInteraction");
        service.faults().set("LumetParentChildInteraction", fault);
        start();
        service.faults().clear();
        takeAlertMessage();
        EXPECT_EQ(requestsTo("LumetParentChildInteraction"), sent + 1);
        EXPECT_EQ(top<ParentChildVC>(), screen);
        EXPECT_FALSE(top<childcare::PedometerVC>());
        auto config = screen->deviceDetail() ? screen->deviceDetail()->lumetDeviceConfig : nullptr;
        EXPECT_FALSE(config && config->IsPerdometerRunning);
    }
}

} // namespace
