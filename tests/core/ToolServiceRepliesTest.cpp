// The readers on the replies of the local tracking service, as the application receives them.
#include "LocalService.h"

#include "core/service/ServiceProtocol.h"
#include "core/readers/Tool.h"

using core::Tool;
using tracking_service::DemoData;

namespace {

class ToolServiceRepliesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_service = new LocalService; }
    static void TearDownTestSuite()
    {
        delete s_service;
        s_service = nullptr;
    }

    static std::string reply(const std::string& method, const std::string& body = {})
    {
        return s_service->reply(method, body);
    }
    static std::string watch() { return std::string(R"({"Serialnumber":")") + DemoData::WatchSerialNumber + "\"}"; }

    static LocalService* s_service;
};

LocalService* ToolServiceRepliesTest::s_service = nullptr;

TEST_F(ToolServiceRepliesTest, WatchDetailWithItsConfiguration)
{
    auto device = Tool::readDeviceDetailFromJson(
        reply("GetDeviceDetial", std::string(R"({"SerialNumber":")") + DemoData::WatchSerialNumber + "\"}"));
    ASSERT_TRUE(device);
    EXPECT_EQ(device->serialNumber, DemoData::WatchSerialNumber);
    EXPECT_EQ(device->deviceTypeID, 36);
    EXPECT_FALSE(device->isSwitchedOff());
    EXPECT_FALSE(device->parvoDeviceConfig);
    EXPECT_FALSE(device->quennDeviceConfig);
    ASSERT_TRUE(device->lumetDeviceConfig);
    const auto& config = *device->lumetDeviceConfig;
    EXPECT_EQ(config.numberForFather, core::ConfigText("13800138001"));
    EXPECT_EQ(config.buttonNo1_State, base::Value(1));
    EXPECT_TRUE(config.sosNo_Name.isNull());
    EXPECT_EQ(config.sosNo_Icon, core::ConfigText(""));
    EXPECT_EQ(config.fangHuoQiang, core::ConfigText("false"));
    EXPECT_EQ(config.powerState, 1);
    EXPECT_TRUE(config.enterCampusTime.text().starts_with("/Date("));
    EXPECT_EQ(config.TargetStepCount, 6000.0);
    EXPECT_EQ(config.FinishStepCount, 4321.0);
    EXPECT_TRUE(config.IsPerdometerRunning);
    EXPECT_FALSE(config.IsPerdometerFinish);
}

TEST_F(ToolServiceRepliesTest, TrackerDetailsWithParvoConfigurationAndState)
{
    auto parvo = Tool::readDeviceDetailFromJson(
        reply("GetDeviceDetial", std::string(R"({"SerialNumber":")") + DemoData::ParvoSerialNumber + "\"}"));
    ASSERT_TRUE(parvo && parvo->parvoDeviceConfig);
    EXPECT_FALSE(parvo->lumetDeviceConfig);
    EXPECT_TRUE(parvo->parvoDeviceConfig->key2SMSNo.isNull());
    EXPECT_EQ(parvo->parvoDeviceConfig->key3CallNo, core::ConfigText(""));
    EXPECT_EQ(parvo->parvoDeviceConfig->intervalTime, core::ConfigText("60"));

    auto off = Tool::readDeviceDetailFromJson(
        reply("GetDeviceDetial", std::string(R"({"SerialNumber":")") + DemoData::Tracker18SerialNumber + "\"}"));
    ASSERT_TRUE(off);
    EXPECT_TRUE(off->isSwitchedOff());

    auto unknown = Tool::readDeviceDetailFromJson(reply("GetDeviceDetial", R"({"SerialNumber":"NOPE"})"));
    EXPECT_FALSE(unknown);
}

TEST_F(ToolServiceRepliesTest, WaitingMessages)
{
    auto messages = Tool::readUserMessageQueryFromJson(reply("PopManyQueryMessage"));
    ASSERT_EQ(messages.size(), 5u);
    const auto& voice = *messages[2];
    EXPECT_EQ(voice.desc, core::ServiceProtocol::VoiceMarker);
    EXPECT_EQ(voice.context, DemoData::VoiceFileName);
    EXPECT_EQ(voice.from, DemoData::WatchSerialNumber);
    EXPECT_EQ(voice.to, DemoData::AccountName);
    EXPECT_EQ(voice.msgType, 3);
    EXPECT_TRUE(voice.url->starts_with(s_service->service().rootUrl()));
    ASSERT_TRUE(voice.createTime && messages[0]->createTime);
    EXPECT_LT(*messages[0]->createTime, *voice.createTime);
    EXPECT_FALSE(voice.userName);
}

TEST_F(ToolServiceRepliesTest, AttendanceRowsInReplyOrder)
{
    auto grid = Tool::readCheckingLumetInHistoryFromJson(reply("LumetSearchCOW",
        std::string(R"({"opt":{"Serialnumber":")") + DemoData::WatchSerialNumber
            + R"(","PageSize":45,"PageIndex":1,"Date":"05/13/2014 16:53:20"}})"));
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->rows.size(), 10u);
    EXPECT_EQ(grid->total, 0);
    EXPECT_EQ(grid->rows[0]->id_, "attendance-1");
    EXPECT_EQ(grid->rows[0]->type, 1);
    EXPECT_EQ(grid->rows[1]->type, 2);
    EXPECT_EQ(grid->rows[0]->state, "正常");
    ASSERT_TRUE(grid->rows[0]->dateTime && grid->rows[2]->dateTime);
    EXPECT_NEAR(grid->rows[0]->dateTime->timeIntervalSinceDate(*grid->rows[2]->dateTime), 86400, 3600);
}

TEST_F(ToolServiceRepliesTest, AlarmClocksPhoneBookTimetableAndSteps)
{
    auto clocks = Tool::readAlarmClockFromJson(reply("LumetGetalarmclock", watch()));
    ASSERT_TRUE(clocks);
    EXPECT_EQ(clocks->id_, "alarmclock-1");
    ASSERT_EQ(clocks->dataList.size(), 3u);
    EXPECT_EQ(clocks->dataList[1]->isOpen, 0);
    EXPECT_EQ(clocks->dataList[1]->h, base::Value(12));
    EXPECT_EQ(clocks->dataList[1]->m, base::Value(30));

    auto book = Tool::getPhoneBookNumber(reply("LumetGetPhoneBook_V2", watch()));
    ASSERT_TRUE(book);
    ASSERT_EQ(book->numbers.size(), 10u);
    EXPECT_EQ(book->names[2], "Grandma");
    EXPECT_EQ(book->numbers[3], "");

    auto timetable = Tool::getClassInfoFromJson(reply("LumetGetClassInfo", watch()));
    ASSERT_TRUE(timetable);
    EXPECT_EQ(timetable->state, 1);
    EXPECT_EQ(timetable->start_M[0], base::Value("00"));
    EXPECT_EQ(timetable->start_M[1], base::Value("55"));
    EXPECT_EQ(timetable->end_M[0], base::Value("45"));
    EXPECT_EQ(timetable->arr[0][0]->courseName, "Maths");
    EXPECT_EQ(timetable->arr[5][0]->courseName, "Piano");

    EXPECT_EQ(Tool::readLumetPedometerCurFromJson(reply("LumetGetStepCount", watch())), base::Value(4321));
}

TEST_F(ToolServiceRepliesTest, CommandReplyIsTheAcceptedText)
{
    auto d = Tool::getDeciveStyleFrom(reply("SaveAppleToken", R"({"Token":" "})"));
    EXPECT_TRUE(core::ServiceProtocol::isCommandAccepted(d));
}

} // namespace
