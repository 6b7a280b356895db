// The rules the number screens share: one multi-number request per device in flight, the keyboard lift's
// placements, how a watch-number reply is read and what the watch-number requests carry.
#include "base/ClockFixture.h"
#include "core/service/ServiceProtocol.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/LumetNumbers.h"
#include "settings/numbers/NumberFieldLift.h"
#include "settings/numbers/NumberSendQueue.h"
#include "ui/controls/TextField.h"
#include "ui/view/View.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using settings::LumetNumbers;
using settings::LumetSlot;
using settings::NumberSendQueue;

TEST(NumberSendQueue, AJobOfTheSameDeviceWaitsUntilTheOneBeforeHasFinished)
{
    NumberSendQueue queue;
    std::vector<std::string> started;
    NumberSendQueue::Finished finishFirst;
    queue.enqueue("A", [&](NumberSendQueue::Finished finished) {
        started.push_back("A1");
        finishFirst = finished;
    });
    queue.enqueue("A", [&](NumberSendQueue::Finished) { started.push_back("A2"); });
    queue.enqueue("B", [&](NumberSendQueue::Finished) { started.push_back("B1"); });
    EXPECT_EQ(started, (std::vector<std::string> { "A1", "B1" }));
    EXPECT_EQ(queue.waitingCount("A"), 1u);

    finishFirst({});
    // A second report of the same job must not start a job twice or skip one.
    finishFirst({});
    EXPECT_EQ(started, (std::vector<std::string> { "A1", "B1", "A2" }));
    EXPECT_TRUE(queue.isBusy("A"));
    EXPECT_EQ(queue.waitingCount("A"), 0u);
}

TEST(NumberSendQueue, ADeviceIsFreeAgainOnceItsLastJobHasFinished)
{
    NumberSendQueue queue;
    int runs = 0;
    queue.enqueue("A", [&](NumberSendQueue::Finished finished) {
        ++runs;
        finished({});
    });
    EXPECT_FALSE(queue.isBusy("A"));
    queue.enqueue("A", [&](NumberSendQueue::Finished) { ++runs; });
    EXPECT_EQ(runs, 2);
}

class NumberFieldLiftTest : public test::ManualClockTest {
protected:
    // A view of 400 points' height: the keyboard's top is at 184; a field at y reaches y + 32.
    std::shared_ptr<ui::View> view = std::make_shared<ui::View>(gfx::Rect { 0, 50, 280, 400 });
    std::shared_ptr<ui::TextField> field = std::make_shared<ui::TextField>(gfx::Rect { 20, 0, 200, 30 });

    double liftedOrigin(settings::NumberFieldLift& lift, double fieldY)
    {
        field->setFrame({ 20, fieldY, 200, 30 });
        lift.begin(*view, *field);
        double y = view->frame().origin.y;
        lift.end(*view);
        return y;
    }
};

TEST_F(NumberFieldLiftTest, TheSlackPlacementNeverMovesTheViewTowardTheKeyboard)
{
    settings::NumberFieldLift lift(settings::NumberFieldLift::keepBelow(100));
    EXPECT_EQ(liftedOrigin(lift, 152), 50); // overlap 0: not moved
    EXPECT_EQ(liftedOrigin(lift, 153), 50); // overlap 1
    EXPECT_EQ(liftedOrigin(lift, 251), 50); // overlap 99
    EXPECT_EQ(liftedOrigin(lift, 252), 50); // overlap 100
    EXPECT_EQ(liftedOrigin(lift, 292), 10); // overlap 140: up by 40
    EXPECT_EQ(view->frame().origin.y, 50) << "ending the edit puts the view back";
}

TEST_F(NumberFieldLiftTest, TheFixedPlacementSetsTheOriginLessTheOverlapAndTruncates)
{
    settings::NumberFieldLift lift(settings::NumberFieldLift::fixedAbove(130));
    EXPECT_EQ(liftedOrigin(lift, 172.9), 110); // overlap 20.9 counts as 20
    EXPECT_EQ(liftedOrigin(lift, 100), 50);
    field->setFrame({ 20, 200, 200, 30 });
    lift.begin(*view, *field);
    EXPECT_EQ(field->returnKeyType(), ui::ReturnKeyType::Done);
}

TEST(LumetNumbersReply, OnlyTheExactTextsCount)
{
    auto key = [](std::optional<base::Value> payload) { return std::string(LumetNumbers::messageKeyFor(payload)); };
    EXPECT_EQ(key(base::Value(core::ServiceProtocol::CommandAccepted)), "success");
    EXPECT_EQ(key(base::Value("亲情号码1不能与监听号码相同，设置失败")), "listen_no_equal_father");
    EXPECT_EQ(key(base::Value("亲情号码2不能与监听号码相同，设置失败")), "listen_no_equal_mother");
    EXPECT_EQ(key(base::Value("监听号码不能与SOS号码相同，设置失败")), "listen_no_equal_sos");
    // A half-width comma is another text.
    EXPECT_EQ(key(base::Value("亲情号码1不能与监听号码相同,设置失败")), "failure");
    EXPECT_EQ(key(base::Value::null()), "failure");
    EXPECT_EQ(key(base::Value(int64_t { 0 })), "failure");
    EXPECT_EQ(key(std::nullopt), "failure");
}

std::shared_ptr<core::Device> watch()
{
    auto device = std::make_shared<core::Device>();
    device->serialNumber = "LW3600000001";
    device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    auto& config = *device->lumetDeviceConfig;
    config.numberForFather = "111";
    config.numberForMother = "222";
    config.numberForSOS = core::ConfigText::null();
    config.numberForListen = "444";
    config.buttonNo1_State = base::Value(int64_t { 1 });
    config.buttonNo1_Name = "Dad";
    config.buttonNo1_Icon = "father";
    config.sosNo_State = base::Value(int64_t { 0 });
    return device;
}

std::vector<std::string> keysOf(const base::DictionaryRef& body)
{
    std::vector<std::string> keys;
    for (auto [key, value] : *body)
        keys.push_back(key->stringValue());
    return keys;
}

TEST(LumetNumbersRequest, AnEditedSlotEchoesTheOthersAsHeldWithNullKept)
{
    auto device = watch();
    auto body = LumetNumbers::body(*device, LumetSlot::Mother, "999");
    EXPECT_EQ(
        keysOf(body), (std::vector<std::string> { "Serialnumber", "ButtonNo1", "ButtonNo2", "SOSNo", "ListenNo" }));
    EXPECT_EQ(*body->objectForKey("ButtonNo1"), base::Value("111"));
    EXPECT_EQ(*body->objectForKey("ButtonNo2"), base::Value("999"));
    EXPECT_TRUE(body->objectForKey("SOSNo")->isNull());
    EXPECT_EQ(*body->objectForKey("ListenNo"), base::Value("444"));

    auto listen = LumetNumbers::body(*device, LumetSlot::Listen, "");
    EXPECT_EQ(keysOf(listen), (std::vector<std::string> { "Serialnumber", "ListenNo" }));
    EXPECT_EQ(*listen->objectForKey("ListenNo"), base::Value(""));
}

TEST(FamilyNumberRequest, CarriesThirteenFieldsWithTheEditedKeysStateAndTheOthersAsHeld)
{
    auto device = watch();
    auto body = settings::FamilyNumberVC::requestFor(*device, 3, "555", settings::FamilyNumberVC::CallState);
    EXPECT_EQ(keysOf(body),
        (std::vector<std::string> { "Serialnumber", "ButtonNo1", "ButtonNo1_State", "ButtonNo1_Name", "ButtonNo1_Icon",
            "ButtonNo2", "ButtonNo2_State", "ButtonNo2_Name", "ButtonNo2_Icon", "SOSNo", "SOSNo_State", "SOSNo_Name",
            "SOSNo_Icon" }));
    EXPECT_EQ(*body->objectForKey("ButtonNo1"), base::Value("111"));
    EXPECT_EQ(*body->objectForKey("ButtonNo1_State"), base::Value(int64_t { 1 }));
    EXPECT_EQ(*body->objectForKey("ButtonNo1_Name"), base::Value("Dad"));
    EXPECT_TRUE(body->objectForKey("ButtonNo2_State")->isNull()) << "a state the record lacks goes as null";
    EXPECT_EQ(*body->objectForKey("SOSNo"), base::Value("555"));
    EXPECT_EQ(*body->objectForKey("SOSNo_State"), base::Value(int64_t { 2 }));
}

} // namespace
