// The demo account holds what the screens branch on: a device of every type with its model's
// configuration, attendance rows in every state, and the watch's voice message as a watch sends it.
#include "ServiceFixture.h"

#include "base/values/Array.h"

#include <cctype>
#include <map>
#include <set>

using tracking_service::DemoData;

namespace {

class DemoDataTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        m_cookie = signIn();
    }

    base::DictionaryRef detail(const std::string& serialNumber)
    {
        auto reply = payload(call("GetDeviceDetial", R"({"SerialNumber":")" + serialNumber + "\"}", m_cookie));
        return reply ? reply->dictionary() : nullptr;
    }

    std::string m_cookie;
};

// The configuration key that is not null in the detail, "" when none or more than one is.
std::string modelOf(const base::Dictionary& detail)
{
    std::string model;
    for (const char* key : { "LumetDevice_Config", "ParvoDevice_Config", "Quenn_DeviceConfig" }) {
        const base::Value* config = detail.objectForKey(key);
        if (!config)
            return "";
        if (config->dictionary())
            model = model.empty() ? key : "several";
        else if (!config->isNull())
            return "";
    }
    return model;
}

bool isClockText(const base::Value* value)
{
    const std::string* text = value ? value->string() : nullptr;
    return text && text->size() == 5 && (*text)[2] == ':' && std::isdigit((*text)[0]) && std::isdigit((*text)[4]);
}

TEST_F(DemoDataTest, EveryDeviceTypeHasTheConfigurationOfItsModel)
{
    const std::map<long long, std::string> models = {
        { 36, "LumetDevice_Config" },
        { 27, "LumetDevice_Config" },
        { 40, "LumetDevice_Config" },
        { 43, "LumetDevice_Config" },
        { 44, "LumetDevice_Config" },
        { 2, "ParvoDevice_Config" },
        { 13, "ParvoDevice_Config" },
        { 18, "ParvoDevice_Config" },
        { 7, "ParvoDevice_Config" },
        { 16, "ParvoDevice_Config" },
        { 20, "ParvoDevice_Config" },
        { 21, "ParvoDevice_Config" },
        { 4, "ParvoDevice_Config" },
        { 3, "Quenn_DeviceConfig" },
        { 6, "Quenn_DeviceConfig" },
        { 41, "" },
    };
    std::set<long long> seen;
    for (const auto& device : m_service->store().devicesOf(DemoData::AccountName)) {
        auto fields = detail(device.serialNumber);
        ASSERT_TRUE(fields) << device.serialNumber;
        EXPECT_EQ(*fields->objectForKey("DeviceTypeID"), base::Value(device.typeID));
        EXPECT_EQ(*fields->objectForKey("DeviceName"), base::Value(device.name));
        ASSERT_TRUE(models.contains(device.typeID)) << device.typeID;
        EXPECT_EQ(modelOf(*fields), models.at(device.typeID)) << device.serialNumber;
        seen.insert(device.typeID);
    }
    EXPECT_EQ(seen.size(), models.size());
}

TEST_F(DemoDataTest, WatchConfigurationsCarryTheFieldsTheScreensRead)
{
    std::set<long long> targets;
    for (const char* serialNumber : { DemoData::WatchSerialNumber, DemoData::Watch40SerialNumber,
             DemoData::Watch43SerialNumber, DemoData::Watch44SerialNumber }) {
        auto fields = detail(serialNumber);
        ASSERT_TRUE(fields) << serialNumber;
        const auto& config = fields->objectForKey("LumetDevice_Config")->dictionary();
        ASSERT_TRUE(config) << serialNumber;
        EXPECT_TRUE(isClockText(config->objectForKey("PowerOnTime"))) << serialNumber;
        EXPECT_TRUE(isClockText(config->objectForKey("PowerOffTime"))) << serialNumber;
        EXPECT_TRUE(config->objectForKey("EnterCampusTime")->string()->starts_with("/Date("));
        EXPECT_TRUE(config->objectForKey("LeaveCampusTime")->string()->starts_with("/Date("));
        for (const char* key : { "KeyLockState", "PowerState", "ButtonNo1_State", "TargetStepCount", "FinishStepCount",
                 "IsPerdometerRunning", "IsPerdometerFinish" })
            EXPECT_TRUE(config->objectForKey(key)->isNumber()) << serialNumber << " " << key;
        for (const char* key : { "CowNoti", "FRIDState", "ButtonNo1", "ButtonNo2", "SOSNo", "ListenNo" })
            EXPECT_TRUE(config->objectForKey(key)->isString()) << serialNumber << " " << key;
        targets.insert(config->objectForKey("TargetStepCount")->longLongValue());
    }
    EXPECT_EQ(targets, (std::set<long long> { 0, 3000, 6000, 12000 })) << "no challenge and each target";
}

TEST_F(DemoDataTest, TrackerAndQuennConfigurationsHoldNumbersAndIntervals)
{
    for (const char* serialNumber : { DemoData::Tracker7SerialNumber, DemoData::Tracker16SerialNumber,
             DemoData::Tracker20SerialNumber, DemoData::Tracker21SerialNumber, DemoData::MorvikSerialNumber }) {
        auto fields = detail(serialNumber);
        ASSERT_TRUE(fields) << serialNumber;
        const auto& config = fields->objectForKey("ParvoDevice_Config")->dictionary();
        ASSERT_TRUE(config) << serialNumber;
        EXPECT_GT(config->objectForKey("intervalTime")->intValue(), 0) << serialNumber;
    }
    for (const char* serialNumber : { DemoData::Quenn3SerialNumber, DemoData::Quenn6SerialNumber }) {
        auto fields = detail(serialNumber);
        ASSERT_TRUE(fields) << serialNumber;
        const auto& config = fields->objectForKey("Quenn_DeviceConfig")->dictionary();
        ASSERT_TRUE(config) << serialNumber;
        for (const char* key : { "SOSNum1", "SOSNum2", "SOSNum3", "SOSNum4" })
            EXPECT_TRUE(config->objectForKey(key)->isString()) << serialNumber << " " << key;
        EXPECT_FALSE(config->objectForKey("SOSNum4")->string()->empty()) << "the listen number";
    }
}

TEST_F(DemoDataTest, AttendanceHasArrivalsAndDeparturesInEveryState)
{
    auto rows = payload(call("LumetSearchCOW",
        R"({"opt":{"Serialnumber":"LW3600000001","PageSize":45,"PageIndex":1,"Date":"05/09/2026 08:00:00"}})",
        m_cookie));
    ASSERT_TRUE(rows && rows->array());
    std::set<std::pair<long long, std::string>> kinds;
    for (const base::Value& row : *rows->array()) {
        const auto& fields = row.dictionary();
        kinds.emplace(fields->objectForKey("Type")->longLongValue(), *fields->objectForKey("State")->string());
    }
    EXPECT_EQ(kinds,
        (std::set<std::pair<long long, std::string>> { { 1, "正常" }, { 1, "迟到" }, { 2, "正常" }, { 2, "早退" } }));
}

// The type-36 watch's voice message goes to its chat, the type-27 watch's to the message detail.
TEST_F(DemoDataTest, WatchVoiceMessagesAreWatchMessagesWhoseFileIsServed)
{
    auto messages = payload(call("PopManyQueryMessage", "", m_cookie));
    ASSERT_TRUE(messages && messages->array());
    std::map<std::string, base::DictionaryRef> voices;
    for (const base::Value& message : *messages->array()) {
        if (*message.dictionary()->objectForKey("Desc") == base::Value("[Lumet_434B_Voice]"))
            voices.try_emplace(message.dictionary()->objectForKey("From")->stringValue(), message.dictionary());
    }
    for (const char* watch : { DemoData::WatchSerialNumber, DemoData::Watch27SerialNumber }) {
        ASSERT_TRUE(voices.count(watch)) << watch;
        long long type = voices[watch]->objectForKey("MsgType")->longLongValue();
        EXPECT_TRUE(type >= 1 && type <= 3) << "a watch's message, not the phone's own voice type 5";
    }
    const auto& voice = voices[DemoData::WatchSerialNumber];

    // The chat cell fetches the file by the name in "Context", with a POST.
    std::string name = *voice->objectForKey("Context")->string();
    auto file = m_client->Post(("/Tools/LumetDow.ashx?FileName=" + name).c_str(), "", "text/plain");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->status, 200);
    EXPECT_TRUE(file->body.starts_with("#!AMR\n"));
}

} // namespace
