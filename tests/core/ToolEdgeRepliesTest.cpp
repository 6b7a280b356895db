// The readers on hand-made replies: blank and broken texts, missing and null payloads, fields of the wrong
// kind, short and long lists.
#include "base/system/Log.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using core::ConfigText;
using core::Tool;

namespace {

const char* const RepliesWithoutPayload[]
    = { "", "   \n", "<html>Service Unavailable</html>", "[1,2]", "{}", R"({"Message":"error"})", "{\"d\":" };

TEST(ToolEdgeReplies, NoPayloadGivesNothingFromEveryReader)
{
    for (const char* reply : RepliesWithoutPayload) {
        SCOPED_TRACE(reply);
        EXPECT_FALSE(Tool::readDeviceDetailFromJson(reply));
        EXPECT_FALSE(Tool::getDeciveStyleFrom(reply));
        EXPECT_FALSE(Tool::readLumetPedometerCurFromJson(reply));
        EXPECT_TRUE(Tool::readUserMessageQueryFromJson(reply).empty());
        EXPECT_FALSE(Tool::readCheckingLumetInHistoryFromJson(reply));
        EXPECT_FALSE(Tool::readAlarmClockFromJson(reply));
    }
}

TEST(ToolEdgeReplies, NullPayload)
{
    const char* reply = R"({"d":null})";
    EXPECT_EQ(Tool::getDeciveStyleFrom(reply), base::Value::null());
    EXPECT_FALSE(core::ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(reply)));
    EXPECT_FALSE(Tool::readDeviceDetailFromJson(reply));
    EXPECT_TRUE(Tool::readUserMessageQueryFromJson(reply).empty());
    EXPECT_FALSE(Tool::readCheckingLumetInHistoryFromJson(reply));
    EXPECT_FALSE(Tool::readAlarmClockFromJson(reply));
}

TEST(ToolEdgeReplies, PayloadOfTheWrongKindIsLoggedNotRead)
{
    base::Log::ScopedCapture log;
    EXPECT_FALSE(Tool::readDeviceDetailFromJson(R"({"d":"busy"})"));
    EXPECT_TRUE(Tool::readUserMessageQueryFromJson(R"({"d":{"_id":"1"}})").empty());
    EXPECT_FALSE(Tool::readCheckingLumetInHistoryFromJson(R"({"d":{}})"));
    EXPECT_FALSE(Tool::readAlarmClockFromJson(R"({"d":[]})"));
    EXPECT_TRUE(log.contains("\"d\" holds a text"));
    EXPECT_TRUE(log.contains("\"d\" holds an object"));
}

TEST(ToolEdgeReplies, CommandIsAcceptedOnlyOnTheExactText)
{
    EXPECT_TRUE(core::ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(R"({"d":"命令提交成功"})")));
    for (const char* reply : { R"({"d":"命令提交成功 "})", R"({"d":"命令提交失败"})", R"({"d":1})", R"({"d":""})" })
        EXPECT_FALSE(core::ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(reply))) << reply;
}

TEST(ToolEdgeReplies, SettingIsAcceptedOnlyOnItsOwnExactText)
{
    using core::ServiceProtocol;
    EXPECT_STREQ(ServiceProtocol::SettingAccepted, "设置成功");
    EXPECT_TRUE(ServiceProtocol::isSettingAccepted(Tool::getDeciveStyleFrom(R"({"d":"设置成功"})")));
    for (const char* reply : { R"({"d":"命令提交成功"})", R"({"d":" 设置成功"})", R"({"d":null})", R"({"d":1})",
             R"({"d":["设置成功"]})", "{}" })
        EXPECT_FALSE(ServiceProtocol::isSettingAccepted(Tool::getDeciveStyleFrom(reply))) << reply;
    EXPECT_FALSE(ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(R"({"d":"设置成功"})")));
}

TEST(ToolEdgeReplies, ConfigurationTextsKeepAbsentNullAndTextApart)
{
    auto device = Tool::readDeviceDetailFromJson(R"({"d":{"LumetDevice_Config":{
        "ButtonNo1":"139","SOSNo":null,"ListenNo":"","Fanghuoqiang":null},
        "Quenn_DeviceConfig":{"SOSNum4":null}}})");
    ASSERT_TRUE(device && device->lumetDeviceConfig && device->quennDeviceConfig);
    const auto& config = *device->lumetDeviceConfig;
    EXPECT_EQ(config.numberForFather.value(), base::Value("139"));
    EXPECT_FALSE(config.numberForMother.isNull());
    EXPECT_EQ(config.numberForMother.value(), base::Value(""));
    EXPECT_TRUE(config.numberForSOS.isNull());
    EXPECT_EQ(config.numberForSOS.value(), base::Value::null());
    EXPECT_FALSE(config.numberForListen.isNull());
    ASSERT_TRUE(config.fangHuoQiang);
    EXPECT_TRUE(config.fangHuoQiang->isNull());
    EXPECT_TRUE(device->quennDeviceConfig->sOSNum4.isNull());
    EXPECT_FALSE(device->quennDeviceConfig->sOSNum1.isNull());

    auto withoutFirewall = Tool::readDeviceDetailFromJson(R"({"d":{"LumetDevice_Config":{}}})");
    EXPECT_FALSE(withoutFirewall->lumetDeviceConfig->fangHuoQiang);
    EXPECT_FALSE(withoutFirewall->lumetDeviceConfig->buttonNo1_State);
}

TEST(ToolEdgeReplies, DeviceFieldsOfTheWrongKindAreConvertedAndLogged)
{
    base::Log::ScopedCapture log;
    auto device = Tool::readDeviceDetailFromJson(R"({"d":{"SerialNumber":123456,"DeviceTypeID":"36",
        "DeviceState":"1","DeviceName":null,"ParvoDevice_Config":"none",
        "LumetDevice_Config":{"ButtonNo1":13800138001,"ListenNo":["x"],"SOSNo_State":"1",
        "TargetStepCount":"6000","FinishStepCount":12.7,"IsPerdometerRunning":"1","KeyLockState":true}}})");
    ASSERT_TRUE(device && device->lumetDeviceConfig);
    EXPECT_EQ(device->serialNumber, "123456");
    EXPECT_EQ(device->deviceTypeID, 36);
    EXPECT_TRUE(device->isSwitchedOff());
    EXPECT_FALSE(device->deviceName);
    EXPECT_FALSE(device->parvoDeviceConfig);
    const auto& config = *device->lumetDeviceConfig;
    EXPECT_EQ(config.numberForFather, ConfigText("13800138001"));
    EXPECT_EQ(config.numberForListen, ConfigText(""));
    EXPECT_EQ(config.sosNo_State, base::Value("1"));
    EXPECT_EQ(config.TargetStepCount, 6000.0);
    EXPECT_EQ(config.FinishStepCount, 12.0);
    EXPECT_TRUE(config.IsPerdometerRunning);
    EXPECT_EQ(config.keyLockState, 1);
    EXPECT_TRUE(log.contains("\"SerialNumber\" holds a number, read as its decimal text"));
    EXPECT_TRUE(log.contains("\"DeviceTypeID\" holds a text, read as its leading integer"));
    EXPECT_TRUE(log.contains("\"ParvoDevice_Config\" holds a text, read as missing"));
    EXPECT_TRUE(log.contains("\"ListenNo\" holds an array"));
}

TEST(ToolEdgeReplies, MessagesOfMixedKinds)
{
    auto messages = Tool::readUserMessageQueryFromJson(R"({"d":[7,{"_id":42,"MsgType":"5","CreateTime":"soon",
        "Context":null},{"_id":"b","CreateTime":"/Date(1400000000000+0800)/","MsgType":null}]})");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]->id_, "42");
    EXPECT_EQ(messages[0]->msgType, 5);
    EXPECT_FALSE(messages[0]->createTime);
    EXPECT_FALSE(messages[0]->context);
    EXPECT_EQ(messages[1]->createTime, base::Date::fromTimeIntervalSince1970(1400000000));
    EXPECT_FALSE(messages[1]->msgType);
}

// The message list is read element by element: what the strict decoder refuses costs only the element it is in.
TEST(ToolEdgeReplies, MessagesThatCanBeReadComeFromARepliesThatCannotBeReadWhole)
{
    struct Case {
        std::string reply;
        std::vector<std::string> ids;
        bool unreadablePart;
    } const cases[] = {
        { R"({"d":[{"_id":"a"},{"_id":"b","Context":"x}]{[\"y"},{"_id":"c","Con)", { "a", "b" }, true },
        { R"({"d":[{"_id":"a"},{"_id":"b"},)", { "a", "b" }, false },
        { R"({"d":[{"_id":"a"},{"_id":"b"})", { "a", "b" }, false },
        { R"({"d":[{"_id":"a"},{"_id":"b")", { "a" }, true },
        { R"({"d":[{"_id":"a"},{"_id":"b"},])", { "a", "b" }, false },
        { R"({"x":{"d":[{"_id":"no"}]},"\u0064":[{"_id":"a"}]})", { "a" }, false },
        { R"({"d":[{"_id":"a","Extra":[1e999999,{"y":-1e999999}]},{"_id":"b","CreateTime":1e999999}]})", { "a" },
            true },
        { R"({"d":[{"_id":"a"} {"_id":"b"}]})", { "a" }, true },
        { R"({"d":[{"_id":"a"}]}{"d":[{"_id":"b"}]})", { "a" }, true },
        { "\xEF\xBB\xBF"
          R"( {"d":[{"_id":"a"}]} )"
                + std::string(3, '\0'),
            { "a" }, false },
        { R"({"d":[{"_id":"a","Context":")"
          "\xF0\x9F"
          R"("}]})",
            { "a" }, false },
        { R"({"d":[{"_id":"a","Context":"\x"},{"_id":"b","Unread":"\x"}]})", { "b" }, true },
        { R"({"d" [{"_id":"a"}]})", {}, true },
        { R"({"d":[)", {}, false },
        { R"({"d")", {}, true },
        { R"({"d":)", {}, true },
        { "{\"d\": \t", {}, true },
        // A list named twice is read where it is named last; an earlier one that holds something is a part that
        // may hold messages.
        { R"({"d":[],"d":[{"_id":"a"}]})", { "a" }, false },
        { R"({"d":[{"_id":"no"}],"d":[ ]})", {}, true },
        { R"({"d":[{"_id":"no"}],"d":null})", {}, true },
        { R"({"d":null,"x":1,"\u0064":[{"_id":"a"}],"d":[{"_id":"b"}]})", { "b" }, true },
        // A stray byte or line before the reply is passed over when a list is named from the first brace.
        { "\f"
          R"({"d":[{"_id":"a"}]})",
            { "a" }, false },
        { ")]}'\n"
          R"({"d":[{"_id":"a"}]})",
            { "a" }, false },
        { "<p>a</p>"
          R"({"x":[{"_id":"no"}]})",
            {}, true },
        // What follows the list in a reply that stops reading there is a part that may hold messages.
        { R"({"d":[{"_id":"a"}] {"_id":"b"}})", { "a" }, true },
        { R"({"d":[{"_id":"a"}],"x":"y")", { "a" }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        base::Error error;
        // In a buffer of its own length, so that a read past its end is caught.
        std::vector<char> exact(c.reply.begin(), c.reply.end());
        auto messages = Tool::readUserMessageQueryFromJson(std::string_view(exact.data(), exact.size()), &error);
        std::vector<std::string> ids;
        for (const auto& message : messages)
            ids.push_back(message->id_.value_or("?"));
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(!error.isEmpty(), c.unreadablePart) << error.localizedDescription();
    }
}

TEST(ToolEdgeReplies, AttendanceRowsWithNullAndOddFields)
{
    auto grid = Tool::readCheckingLumetInHistoryFromJson(
        R"({"d":[{"_id":"a","Time":null,"Type":"2","State":0,"Code":null},"row",{}]})");
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->rows.size(), 2u);
    EXPECT_FALSE(grid->rows[0]->dateTime);
    EXPECT_EQ(grid->rows[0]->type, 2);
    EXPECT_EQ(grid->rows[0]->state, "0");
    EXPECT_FALSE(grid->rows[0]->code);
    EXPECT_FALSE(grid->rows[1]->id_);

    auto empty = Tool::readCheckingLumetInHistoryFromJson(R"({"d":[]})");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->rows.empty());
}

TEST(ToolEdgeReplies, AlarmClockEntriesKeepHourAndMinuteAsReceived)
{
    auto clocks = Tool::readAlarmClockFromJson(
        R"({"d":{"_id":9,"LumetAlarmClockEntity":[{"Mode":"1","H":"07","S":5},{"H":null},null]}})");
    ASSERT_TRUE(clocks);
    EXPECT_EQ(clocks->id_, "9");
    ASSERT_EQ(clocks->dataList.size(), 2u);
    EXPECT_EQ(clocks->dataList[0]->isOpen, 1);
    EXPECT_EQ(clocks->dataList[0]->h, base::Value("07"));
    EXPECT_EQ(clocks->dataList[0]->m, base::Value(5));
    EXPECT_EQ(clocks->dataList[1]->isOpen, 0);
    EXPECT_EQ(clocks->dataList[1]->h, base::Value::null());
    EXPECT_FALSE(clocks->dataList[1]->m);

    auto withoutList = Tool::readAlarmClockFromJson(R"({"d":{"_id":"x","LumetAlarmClockEntity":null}})");
    ASSERT_TRUE(withoutList);
    EXPECT_TRUE(withoutList->dataList.empty());
}

TEST(ToolEdgeReplies, PhoneBookIsFilledToTenAndLongListsKept)
{
    EXPECT_FALSE(Tool::getPhoneBookNumber(""));
    for (const char* reply : { "{}", R"({"d":null})", R"({"d":{"PL":null}})", "<html>" }) {
        auto book = Tool::getPhoneBookNumber(reply);
        ASSERT_TRUE(book) << reply;
        EXPECT_EQ(book->numbers, std::vector<std::string>(10));
        EXPECT_EQ(book->names, std::vector<std::string>(10));
    }
    auto mixed = Tool::getPhoneBookNumber(R"({"d":{"PL":[13800138000,null,"x"],"Name":["a"]}})");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->numbers[0], "13800138000");
    EXPECT_EQ(mixed->numbers[1], "");
    EXPECT_EQ(mixed->numbers[2], "x");
    EXPECT_EQ(mixed->names.size(), 10u);

    std::string twelve = R"({"d":{"PL":["1","2","3","4","5","6","7","8","9","10","11","12"]}})";
    EXPECT_EQ(Tool::getPhoneBookNumber(twelve)->numbers.size(), 12u);
}

} // namespace
