#include "ServiceFixture.h"

#include "base/values/Array.h"
#include "support/PausedThread.h"

#include <functional>
#include <thread>
#include <utility>

using tracking_service::Fault;
using tracking_service::FaultPlan;

namespace {

using FaultsTest = ServiceFixture;

const std::string StepBody = R"({"Serialnumber":"LW3600000001"})";

TEST_F(FaultsTest, StatusFaultAnswersThatStatus)
{
    std::string cookie = signIn();
    m_service->faults().set("LumetGetStepCount", Fault::status(503));
    EXPECT_EQ(call("LumetGetStepCount", StepBody, cookie)->status, 503);
}

TEST_F(FaultsTest, DroppedConnectionIsATransportFailure)
{
    std::string cookie = signIn();
    m_service->faults().set("LumetGetStepCount", Fault::dropConnection());
    auto reply = call("LumetGetStepCount", StepBody, cookie);
    EXPECT_FALSE(reply);
}

TEST_F(FaultsTest, BodyFaultsKeepStatus200)
{
    std::string cookie = signIn();
    m_service->faults().set("LumetGetStepCount", Fault::nonJsonBody());
    auto html = call("LumetGetStepCount", StepBody, cookie);
    EXPECT_EQ(html->status, 200);
    EXPECT_FALSE(json::objectFromJSONString(html->body));

    m_service->faults().set("LumetGetStepCount", Fault::noPayload());
    auto missing = call("LumetGetStepCount", StepBody, cookie);
    EXPECT_EQ(missing->status, 200);
    EXPECT_FALSE(payload(missing));

    m_service->faults().set("LumetGetStepCount", Fault::nullPayload());
    EXPECT_EQ(payload(call("LumetGetStepCount", StepBody, cookie)), base::Value::null());

    m_service->faults().set("LumetGetStepCount", Fault::refusal());
    EXPECT_EQ(payload(call("LumetGetStepCount", StepBody, cookie)), base::Value("命令提交失败"));
}

TEST_F(FaultsTest, PayloadFaultSendsAnyJSONValueAsThePayload)
{
    std::string cookie = signIn();
    const base::Value kinds[] = {
        base::Value(12.5),
        base::Value(false),
        base::Value(base::Dictionary::make({ { "d", base::Array::make({ 1, "two" }) } })),
        base::Value(base::Array::make({ base::Value::null(), 7 })),
        base::Value("命令提交成功 "),
    };
    for (const base::Value& kind : kinds) {
        m_service->faults().set("LumetGetStepCount", Fault::payload(kind));
        auto reply = call("LumetGetStepCount", StepBody, cookie);
        EXPECT_EQ(reply->status, 200);
        EXPECT_EQ(payload(reply), kind) << reply->body;
    }
}

TEST_F(FaultsTest, OwnFaultWinsOverTheFaultForAllAndClearingRestores)
{
    m_service->faults().set(FaultPlan::AllEndpoints, Fault::status(500));
    m_service->faults().set("GetServerList", Fault::status(404));
    EXPECT_EQ(call("GetServerList", "")->status, 404);
    EXPECT_EQ(call("Login", "{}")->status, 500);
    EXPECT_EQ(m_client->Get("/Tools/LumetDow.ashx?FileName=x")->status, 500);

    m_service->faults().remove("GetServerList");
    EXPECT_EQ(call("GetServerList", "")->status, 500);
    m_service->faults().clear();
    EXPECT_EQ(call("GetServerList", "")->status, 200);
}

TEST_F(FaultsTest, FaultedRequestsAreStillLogged)
{
    m_service->faults().set("GetServerList", Fault::dropConnection());
    call("GetServerList", "");
    EXPECT_EQ(m_service->requestLog().requestsTo("GetServerList").size(), 1u);
}

// The client gives up after its short time-out; stopping the service lets the held request go at once.
TEST_F(FaultsTest, DelayOutlastsTheClientsTimeOutAndOthersAreServedMeanwhile)
{
    m_service->faults().set("GetServerList", Fault::delay(std::chrono::minutes(10)));
    httplib::Client impatient("127.0.0.1", m_service->port());
    impatient.set_read_timeout(0, 200'000);
    auto slow = impatient.Post(methodPath("GetServerList").c_str(), "", "application/json");
    EXPECT_FALSE(slow);
    EXPECT_EQ(call("Login", R"({"LoginName":"lumet_demo","Password":"demo1234","Token":" "})")->status, 200);
    m_service->stop();
}

// Held requests of one endpoint go when each is let go, in any order, with its own answer; a let-go may
// come before the request, and setting the endpoint's fault anew starts the count again.
TEST(FaultPlanHolds, EachHeldRequestGoesWithItsOwnAnswer)
{
    using std::chrono::minutes;
    FaultPlan plan;
    plan.set("Method", Fault::delay(minutes(10)));
    plan.letGo("Method", 1);
    plan.letGo("Method", 0, Fault::refusal());
    auto first = plan.hold("Method", minutes(10));
    EXPECT_EQ(first.end, FaultPlan::HoldEnd::LetGo);
    ASSERT_TRUE(first.answer);
    EXPECT_EQ(first.answer->kind, Fault::Kind::Refusal);
    auto second = plan.hold("Method", minutes(10));
    EXPECT_EQ(second.end, FaultPlan::HoldEnd::LetGo);
    EXPECT_FALSE(second.answer);

    plan.set("Method", Fault::delay(std::chrono::milliseconds(1)));
    plan.letGo("Method", 1);
    EXPECT_EQ(plan.hold("Method", std::chrono::milliseconds(1)).end, FaultPlan::HoldEnd::Elapsed);
}

// A held request stops counting as held the moment it is let go, however its hold ends, not when its thread
// wakes: the thread is kept stopped meanwhile, so a caller that counts held requests never takes one whose
// answer is on its way for one still held.
TEST(FaultPlanHolds, ARequestLetGoIsNoLongerCountedAsHeldBeforeItsThreadWakes)
{
    const std::pair<const char*, std::function<void(FaultPlan&)>> ends[] = {
        { "let go", [](FaultPlan& plan) { plan.letGo("Method", 0); } },
        { "let go with an answer", [](FaultPlan& plan) { plan.letGo("Method", 0, Fault::dropConnection()); } },
        { "fault removed", [](FaultPlan& plan) { plan.remove("Method"); } },
        { "fault replaced", [](FaultPlan& plan) { plan.set("Method", Fault::status(500)); } },
        { "faults cleared", [](FaultPlan& plan) { plan.clear(); } },
        { "holding stopped", [](FaultPlan& plan) { plan.stopHolding(); } },
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        FaultPlan plan;
        plan.set("Method", Fault::held());
        std::thread holder([&plan] { (void)plan.hold("Method", Fault::HeldFor); });
        // heldNow() takes the plan's lock, which the holder only gives up once it waits.
        while (plan.heldNow() == 0)
            std::this_thread::yield();
        {
            test::PausedThread paused(holder.native_handle());
            end(plan);
            EXPECT_EQ(plan.heldNow(), 0u);
        }
        holder.join();
    }
}

} // namespace
