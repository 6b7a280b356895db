// The settings centre's web methods of the local service: what each changes in the stored device or
// account, and what it refuses.
#include "base/values/Dictionary.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceStore.h"
#include "tracking-service/WebMethodTable.h"

#include <gtest/gtest.h>

using tracking_service::DemoData;
using tracking_service::ServiceStore;
using tracking_service::WebMethodCall;

namespace {

const base::Value accepted("命令提交成功");

class SettingsMethodsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.isOpen());
        DemoData::seed(m_store, base::Date::now());
        tracking_service::addSettingsMethods(m_table);
    }

    base::Value call(const char* method, base::DictionaryRef parameters)
    {
        WebMethodCall call { m_store, DemoData::AccountName, std::move(parameters), "", std::nullopt };
        return m_table.find(method)->method(call);
    }
    base::Value onWatch(const char* method, std::initializer_list<std::pair<base::Value, base::Value>> fields)
    {
        auto parameters = base::MutableDictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber } });
        for (const auto& [key, value] : fields)
            parameters->setObject(value, key);
        return call(method, parameters);
    }
    base::Value config(const char* key)
    {
        auto detail = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
        const base::Value* nested = detail->dictionary()->objectForKey("LumetDevice_Config");
        const base::Value* value = nested->dictionary()->objectForKey(key);
        return value ? *value : base::Value("absent");
    }

    test::TempDir m_folder;
    ServiceStore m_store { m_folder.path() };
    tracking_service::WebMethodTable m_table;
};

TEST_F(SettingsMethodsTest, RenameChangesTheListAndTheDetailOfTheAccountsDeviceOnly)
{
    EXPECT_EQ(onWatch("UpdateDeviceName", { { "DeviceName", "Kid" } }), accepted);
    EXPECT_EQ(m_store.devicesOf(DemoData::AccountName).front().name, "Kid");
    auto detail = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
    EXPECT_EQ(detail->dictionary()->objectForKey("DeviceName")->stringValue(), "Kid");
    EXPECT_NE(call("UpdateDeviceName", base::Dictionary::make({ { "Serialnumber", "NOSUCH" }, { "DeviceName", "x" } })),
        accepted);
}

TEST_F(SettingsMethodsTest, RemotePowerSetsTheDeviceState)
{
    EXPECT_EQ(onWatch("LumetRemotePowerSet", { { "power", 0 } }), accepted);
    auto detail = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
    EXPECT_EQ(detail->dictionary()->objectForKey("DeviceState")->longLongValue(), 1);
    EXPECT_EQ(onWatch("LumetRemotePowerSet", { { "power", 1 } }), accepted);
    detail = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
    EXPECT_EQ(detail->dictionary()->objectForKey("DeviceState")->longLongValue(), 0);
    EXPECT_NE(onWatch("LumetRemotePowerSet", { { "power", 2 } }), accepted);
    EXPECT_NE(onWatch("LumetRemotePowerSet", {}), accepted);
}

TEST_F(SettingsMethodsTest, SleepTimeStoresTheScheduleAndRefusesTimesOutOfRange)
{
    EXPECT_EQ(onWatch("LumetSetSleepTime",
                  { { "flag", 0 }, { "OpenHour", 6 }, { "OpenMin", 5 }, { "CloseHour", 21 }, { "CloseMin", 30 } }),
        accepted);
    EXPECT_EQ(config("PowerState"), base::Value(0));
    EXPECT_EQ(config("PowerOnTime"), base::Value("06:05"));
    EXPECT_EQ(config("PowerOffTime"), base::Value("21:30"));
    for (auto [key, value] : { std::pair { "OpenHour", 24 }, { "OpenMin", 60 }, { "CloseHour", -1 }, { "flag", 2 } }) {
        auto parameters = base::MutableDictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber },
            { "flag", 1 }, { "OpenHour", 7 }, { "OpenMin", 0 }, { "CloseHour", 22 }, { "CloseMin", 0 } });
        parameters->setObject(base::Value(value), base::Value(key));
        EXPECT_NE(call("LumetSetSleepTime", parameters), accepted) << key;
    }
    EXPECT_EQ(config("PowerOnTime"), base::Value("06:05"));
}

TEST_F(SettingsMethodsTest, FirewallAndKeyLockTakeOnlyTheirTwoValues)
{
    EXPECT_EQ(onWatch("LumetFireWallSetting", { { "Flag", "true" } }), accepted);
    EXPECT_EQ(config("Fanghuoqiang"), base::Value("true"));
    EXPECT_NE(onWatch("LumetFireWallSetting", { { "Flag", "yes" } }), accepted);
    EXPECT_EQ(onWatch("LumetKeylockSet", { { "klock", 1 } }), accepted);
    EXPECT_EQ(config("KeyLockState"), base::Value(1));
    EXPECT_NE(onWatch("LumetKeylockSet", { { "klock", "1" } }), accepted);
    EXPECT_EQ(onWatch("LumetFactory", {}), accepted);
}

TEST_F(SettingsMethodsTest, APasswordChangesOnlyWithTheRightOldOneOfTheSignedInAccount)
{
    auto change = [&](const char* account, const char* old, const char* fresh) {
        return call("UpdatePassword",
            base::Dictionary::make({ { "old_pwd", old }, { "new_pwd", fresh }, { "LoginName", account } }));
    };
    EXPECT_TRUE(change(DemoData::AccountName, "wrong", "next").isNull());
    EXPECT_TRUE(m_store.addAccount("other", "pw"));
    EXPECT_TRUE(change("other", "pw", "next").isNull());
    EXPECT_EQ(change(DemoData::AccountName, DemoData::Password, "next"), accepted);
    EXPECT_TRUE(m_store.checkPassword(DemoData::AccountName, "next"));
    EXPECT_TRUE(m_store.checkPassword("other", "pw"));
}

} // namespace
