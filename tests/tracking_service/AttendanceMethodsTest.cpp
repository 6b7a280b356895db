// The attendance web methods of the local service: the school times, the two switches and the alarm clocks,
// on a store filled with the demo data.
#include "base/values/Array.h"
#include "base/time/DateFormatter.h"
#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceStore.h"

#include <gtest/gtest.h>

using tracking_service::DemoData;
using tracking_service::ServiceStore;
using tracking_service::WebMethodCall;

namespace {

class AttendanceMethodsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.isOpen());
        DemoData::seed(m_store, base::Date::now());
        m_store.addAccount("other", "pw");
        m_store.addDevice({ "OTHER0001", "other", "Other", 36, 1 });
        tracking_service::addAttendanceMethods(m_table);
    }

    base::Value call(const std::string& method, base::DictionaryRef parameters)
    {
        WebMethodCall webCall { m_store, DemoData::AccountName, std::move(parameters), "", std::nullopt };
        const auto* entry = m_table.find(method);
        return entry ? entry->method(webCall) : base::Value("<no method>");
    }

    const base::Value* configField(const char* key)
    {
        m_detail = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
        const base::Value* config
            = m_detail && m_detail->dictionary() ? m_detail->dictionary()->objectForKey("LumetDevice_Config") : nullptr;
        return config && config->dictionary() ? config->dictionary()->objectForKey(key) : nullptr;
    }

    base::Value alarmClocks(base::Value serial, std::vector<base::Value> entries)
    {
        return call("Lumet0SetAlarmclock",
            base::Dictionary::make({ { "LumetAlarmClock",
                base::Dictionary::make(
                    { { "_id", serial }, { "LumetAlarmClockEntity", base::Array::make(std::move(entries)) } }) } }));
    }

    static base::Value entry(int index, int mode, base::Value hour, base::Value minute)
    {
        return base::Value(
            base::Dictionary::make({ { "Index", index }, { "Mode", mode }, { "H", hour }, { "S", minute } }));
    }

    test::TempDir m_folder;
    ServiceStore m_store { m_folder.path() };
    tracking_service::WebMethodTable m_table;
    std::optional<base::Value> m_detail;
};

TEST_F(AttendanceMethodsTest, SchoolTimesAreStoredAsDateTextsAndAnUnreadableOneIsRefused)
{
    base::Value answer = call("LumetUpdateEnterCampusTime",
        base::Dictionary::make(
            { { "Serialnumber", DemoData::WatchSerialNumber }, { "EnterTime", "2026-05-09 07:30:00" } }));
    EXPECT_EQ(answer, base::Value("设置成功"));
    auto expected = base::DateFormatter("yyyy-MM-dd HH:mm:ss").dateFromString("2026-05-09 07:30:00");
    ASSERT_TRUE(configField("EnterCampusTime"));
    EXPECT_EQ(*configField("EnterCampusTime"), base::Value(base::serviceDateText(*expected)));

    base::Value before = *configField("LeaveCampusTime");
    for (const char* text : { "", "07:30", "2026-05-09 25:00:00", "05/09/2026 16:30:00" }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(
            call("LumetUpdateLeaveCampusTime",
                base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber }, { "LeaveTime", text } })),
            base::Value("设置失败"));
    }
    EXPECT_EQ(call("LumetUpdateLeaveCampusTime",
                  base::Dictionary::make({ { "Serialnumber", "OTHER0001" }, { "LeaveTime", "2026-05-09 16:30:00" } })),
        base::Value("设置失败"));
    EXPECT_EQ(*configField("LeaveCampusTime"), before);
}

TEST_F(AttendanceMethodsTest, SwitchesTakeOnlyTheirTwoTexts)
{
    EXPECT_EQ(call("LumetCowNotiControl",
                  base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber }, { "type", "00" } })),
        base::Value("命令提交成功"));
    EXPECT_EQ(*configField("CowNoti"), base::Value("00"));
    EXPECT_EQ(call("LumetRFIDControl",
                  base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber }, { "Flag", "false" } })),
        base::Value("命令提交成功"));
    EXPECT_EQ(*configField("FRIDState"), base::Value("false"));

    EXPECT_NE(call("LumetRFIDControl",
                  base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber }, { "Flag", true } })),
        base::Value("命令提交成功"));
    EXPECT_NE(call("LumetCowNotiControl",
                  base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber }, { "type", "1" } })),
        base::Value("命令提交成功"));
    EXPECT_NE(
        call("LumetCowNotiControl", base::Dictionary::make({ { "Serialnumber", "OTHER0001" }, { "type", "01" } })),
        base::Value("命令提交成功"));
    EXPECT_EQ(*configField("CowNoti"), base::Value("00"));
    EXPECT_EQ(*configField("FRIDState"), base::Value("false"));
}

TEST_F(AttendanceMethodsTest, AlarmClocksReplaceTheDocumentUnlessATimeIsOutOfRange)
{
    EXPECT_EQ(alarmClocks(base::Value(DemoData::WatchSerialNumber),
                  { entry(1, 0, base::Value(6), base::Value(45)), entry(2, 1, base::Value(23), base::Value(59)) }),
        base::Value("命令提交成功"));
    auto stored = m_store.document(DemoData::WatchSerialNumber, ServiceStore::AlarmClockDocument);
    ASSERT_TRUE(stored && stored->dictionary());
    const base::Value* entries = stored->dictionary()->objectForKey("LumetAlarmClockEntity");
    ASSERT_TRUE(entries && entries->array());
    ASSERT_EQ(entries->array()->count(), 2u);
    EXPECT_EQ(entries->array()->objectAtIndex(0),
        base::Value(base::Dictionary::make({ { "Mode", 0 }, { "H", 6 }, { "S", 45 } })));

    for (auto [hour, minute] : { std::pair { base::Value(24), base::Value(0) }, { base::Value(-1), base::Value(0) },
             { base::Value(7), base::Value(60) }, { base::Value("7"), base::Value(0) },
             { base::Value(7), base::Value::null() }, { base::Value(7.5), base::Value(0) } }) {
        SCOPED_TRACE(hour.description() + ":" + minute.description());
        EXPECT_NE(alarmClocks(base::Value(DemoData::WatchSerialNumber),
                      { entry(1, 1, base::Value(8), base::Value(0)), entry(2, 1, hour, minute) }),
            base::Value("命令提交成功"));
    }
    EXPECT_NE(alarmClocks(base::Value("OTHER0001"), { entry(1, 1, base::Value(8), base::Value(0)) }),
        base::Value("命令提交成功"));
    EXPECT_EQ(m_store.document(DemoData::WatchSerialNumber, ServiceStore::AlarmClockDocument), stored);
}

} // namespace
