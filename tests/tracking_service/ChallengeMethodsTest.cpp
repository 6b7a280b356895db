// The step challenge and the upload-interval commands of the local service: what each method answers and
// what it leaves in the device's stored detail, on a store filled with the demo data.
#include "base/values/Dictionary.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServiceMethods.h"
#include "tracking-service/ServiceStore.h"

#include <gtest/gtest.h>

using tracking_service::DemoData;
using tracking_service::ServiceStore;
using tracking_service::WebMethodCall;

namespace {

constexpr const char* accepted = "命令提交成功";

class ChallengeMethods : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.isOpen());
        DemoData::seed(m_store, base::Date::now());
        tracking_service::addChallengeMethods(m_table);
    }

    base::Value call(const char* method, base::DictionaryRef parameters)
    {
        const auto* entry = m_table.find(method);
        EXPECT_TRUE(entry) << method;
        WebMethodCall webCall { m_store, DemoData::AccountName, std::move(parameters), "", std::nullopt };
        return entry ? entry->method(webCall) : base::Value::null();
    }

    base::Value start(const char* serialNumber, base::Value target)
    {
        return call("LumetParentChildInteraction",
            base::Dictionary::make({ { "Serialnumber", serialNumber }, { "reward", "" }, { "Value", target } }));
    }

    base::Value field(const std::string& serialNumber, const char* configuration, const char* key)
    {
        auto document = m_store.document(serialNumber, ServiceStore::DetailDocument);
        auto fields = document ? document->dictionary() : nullptr;
        const base::Value* nested = fields ? fields->objectForKey(configuration) : nullptr;
        const base::Value* value = nested && nested->dictionary() ? nested->dictionary()->objectForKey(key) : nullptr;
        return value ? *value : base::Value("absent");
    }
    base::Value watchField(const char* serialNumber, const char* key)
    {
        return field(serialNumber, "LumetDevice_Config", key);
    }

    test::TempDir m_folder;
    ServiceStore m_store { m_folder.path() };
    tracking_service::WebMethodTable m_table;
};

TEST_F(ChallengeMethods, AStartWhileAChallengeRunsIsRefusedAndChangesNothing)
{
    EXPECT_EQ(start(DemoData::WatchSerialNumber, base::Value(3000)), base::Value("1"));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "TargetStepCount"), base::Value(6000));
}

TEST_F(ChallengeMethods, EndingThenStartingSetsTheNewTargetAndCountsFromNothing)
{
    EXPECT_EQ(call("LumetCancelParentChildInteraction",
                  base::Dictionary::make({ { "Serialnumber", DemoData::WatchSerialNumber } })),
        base::Value(accepted));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "TargetStepCount"), base::Value(0));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "IsPerdometerRunning"), base::Value(0));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "IsPerdometerFinish"), base::Value(1));

    EXPECT_EQ(start(DemoData::WatchSerialNumber, base::Value(12000)), base::Value("0"));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "TargetStepCount"), base::Value(12000));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "IsPerdometerRunning"), base::Value(1));
    EXPECT_EQ(watchField(DemoData::WatchSerialNumber, "FinishStepCount"), base::Value(0));
    EXPECT_EQ(m_store.document(DemoData::WatchSerialNumber, ServiceStore::StepCountDocument), base::Value(0));
}

TEST_F(ChallengeMethods, AStartIsRefusedForASwitchedOffWatchAnotherModelOrNoTarget)
{
    // The watch of type 40 runs no challenge; switched off, it cannot take one on.
    EXPECT_EQ(start(DemoData::Watch40SerialNumber, base::Value("3000")), base::Value("1"));
    EXPECT_EQ(start(DemoData::Watch40SerialNumber, base::Value(0)), base::Value("1"));
    EXPECT_EQ(start(DemoData::ParvoSerialNumber, base::Value(3000)), base::Value("1"));
    EXPECT_EQ(start("NOSUCHDEVICE", base::Value(3000)), base::Value("1"));
    m_store.setDetailFields(DemoData::Watch40SerialNumber, { { "", "DeviceState", base::Value(1) } });
    EXPECT_EQ(start(DemoData::Watch40SerialNumber, base::Value(3000)), base::Value("1"));
    EXPECT_EQ(watchField(DemoData::Watch40SerialNumber, "TargetStepCount"), base::Value(0));
}

TEST_F(ChallengeMethods, EndingIsRefusedForADeviceWithoutAWatchConfiguration)
{
    EXPECT_NE(call("LumetCancelParentChildInteraction",
                  base::Dictionary::make({ { "Serialnumber", DemoData::ParvoSerialNumber } })),
        base::Value(accepted));
}

TEST_F(ChallengeMethods, TheParvoIntervalIsStoredForItsFamilyOnly)
{
    auto parvo = [this](const char* serialNumber, base::Value interval) {
        return call("ParvoSetTZENTARIntervalforContinuousTracking",
            base::Dictionary::make({ { "Serialnumber", serialNumber }, { "ConTimeSpan", interval } }));
    };
    EXPECT_EQ(parvo(DemoData::Tracker13SerialNumber, base::Value(30)), base::Value(accepted));
    EXPECT_EQ(field(DemoData::Tracker13SerialNumber, "ParvoDevice_Config", "intervalTime"), base::Value("30"));
    EXPECT_EQ(parvo(DemoData::Tracker20SerialNumber, base::Value(45)), base::Value(accepted));

    EXPECT_NE(parvo(DemoData::ParvoSerialNumber, base::Value(0)), base::Value(accepted));
    EXPECT_NE(parvo(DemoData::ParvoSerialNumber, base::Value(-5)), base::Value(accepted));
    EXPECT_NE(parvo(DemoData::MorvikSerialNumber, base::Value(30)), base::Value(accepted));
    EXPECT_NE(parvo(DemoData::WatchSerialNumber, base::Value(30)), base::Value(accepted));
    EXPECT_EQ(field(DemoData::ParvoSerialNumber, "ParvoDevice_Config", "intervalTime"), base::Value("60"));
}

TEST_F(ChallengeMethods, TheMorvikAndTolvaIntervalsAnswerForTheirTypes)
{
    EXPECT_EQ(call("MorvikSetinterval",
                  base::Dictionary::make(
                      { { "Serialnumber", DemoData::MorvikSerialNumber }, { "interval", 60 }, { "count", 65535 } })),
        base::Value(accepted));
    EXPECT_EQ(field(DemoData::MorvikSerialNumber, "ParvoDevice_Config", "intervalTime"), base::Value("60"));
    EXPECT_EQ(call("TolvaSetUploadTime",
                  base::Dictionary::make({ { "Serialnumber", DemoData::Tracker18SerialNumber }, { "time", 30 } })),
        base::Value(accepted));
    EXPECT_NE(call("TolvaSetUploadTime",
                  base::Dictionary::make({ { "Serialnumber", DemoData::ParvoSerialNumber }, { "time", 30 } })),
        base::Value(accepted));
    EXPECT_NE(call("MorvikSetinterval",
                  base::Dictionary::make({ { "Serialnumber", DemoData::MorvikSerialNumber }, { "interval", 0 } })),
        base::Value(accepted));
}

} // namespace
