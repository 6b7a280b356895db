// Changing stored devices and accounts: the command helper of the web methods and the store operations
// beneath it, on a store filled with the demo data.
#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/ServiceStore.h"
#include "tracking-service/WebMethodTable.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using tracking_service::DemoData;
using tracking_service::DetailField;
using tracking_service::ServiceStore;
using tracking_service::WebMethodCall;

namespace {

class DeviceChangesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.isOpen());
        DemoData::seed(m_store, base::Date::now());
        m_store.addAccount("other", "pw");
        m_store.addDevice({ "OTHER0001", "other", "Other", 36, 1 });
        m_store.setDocument("OTHER0001", ServiceStore::DetailDocument,
            base::Dictionary::make({ { "DeviceName", "Other" }, { "LumetDevice_Config", base::Dictionary::make() } }));
    }

    // A call of the demo account naming `serialNumber` under `key`.
    WebMethodCall callFor(const std::string& serialNumber, const std::string& key = "Serialnumber")
    {
        return { m_store, DemoData::AccountName, base::Dictionary::make({ { key, serialNumber } }), "", std::nullopt };
    }

    base::DictionaryRef detail(const std::string& serialNumber)
    {
        auto document = m_store.document(serialNumber, ServiceStore::DetailDocument);
        return document ? document->dictionary() : nullptr;
    }

    base::Value field(const std::string& serialNumber, const char* configuration, const char* key)
    {
        auto fields = detail(serialNumber);
        const base::Value* nested = fields ? fields->objectForKey(configuration) : nullptr;
        const base::Value* value = nested && nested->dictionary() ? nested->dictionary()->objectForKey(key) : nullptr;
        return value ? *value : base::Value("absent");
    }

    base::Value topField(const std::string& serialNumber, const char* key)
    {
        auto fields = detail(serialNumber);
        const base::Value* value = fields ? fields->objectForKey(key) : nullptr;
        return value ? *value : base::Value("absent");
    }

    test::TempDir m_folder;
    ServiceStore m_store { m_folder.path() };
};

TEST_F(DeviceChangesTest, CommandSetsNestedAndTopFieldsAndKeepsTheRest)
{
    auto call = callFor(DemoData::WatchSerialNumber);
    base::Value answer = call.command({ { "LumetDevice_Config", "PowerOnTime", base::Value("06:15") },
        { "LumetDevice_Config", "KeyLockState", base::Value(1) }, { "", "DeviceState", base::Value(1) } });

    EXPECT_EQ(answer, base::Value("命令提交成功"));
    EXPECT_EQ(field(DemoData::WatchSerialNumber, "LumetDevice_Config", "PowerOnTime"), base::Value("06:15"));
    EXPECT_EQ(field(DemoData::WatchSerialNumber, "LumetDevice_Config", "KeyLockState"), base::Value(1));
    EXPECT_EQ(field(DemoData::WatchSerialNumber, "LumetDevice_Config", "PowerOffTime"), base::Value("22:00"));
    EXPECT_TRUE(field(DemoData::WatchSerialNumber, "LumetDevice_Config", "SOSNo_Name").isNull());
    EXPECT_EQ(topField(DemoData::WatchSerialNumber, "DeviceState"), base::Value(1));
    EXPECT_EQ(topField(DemoData::WatchSerialNumber, "DeviceName"), base::Value("Lumet Watch"));
}

TEST_F(DeviceChangesTest, CommandOnAModelTheDeviceIsNotChangesNothing)
{
    auto before = m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument);
    auto call = callFor(DemoData::WatchSerialNumber);
    // The first field could be set; the second names the null Quenn configuration of a watch.
    base::Value answer = call.command({ { "LumetDevice_Config", "PowerOnTime", base::Value("06:15") },
        { "Quenn_DeviceConfig", "SOSNum1", base::Value("1") } });

    EXPECT_EQ(answer, base::Value("命令提交失败"));
    EXPECT_EQ(m_store.document(DemoData::WatchSerialNumber, ServiceStore::DetailDocument), before);
}

TEST_F(DeviceChangesTest, CommandIsRefusedForDevicesOfOthersAndUnknownOnes)
{
    auto foreign = callFor("OTHER0001");
    EXPECT_EQ(foreign.command({ { "", "DeviceName", base::Value("Mine") } }, "not yours"), base::Value("not yours"));
    EXPECT_EQ(topField("OTHER0001", "DeviceName"), base::Value("Other"));

    auto unknown = callFor("NOPE");
    EXPECT_EQ(unknown.command({ { "", "DeviceName", base::Value("x") } }), base::Value("命令提交失败"));

    WebMethodCall signedOut { m_store, "", base::Dictionary::make({ { "Serialnumber", "OTHER0001" } }), "", {} };
    EXPECT_EQ(signedOut.command({ { "", "DeviceName", base::Value("x") } }), base::Value("命令提交失败"));
}

TEST_F(DeviceChangesTest, CommandFindsTheDeviceUnderAnotherKeyAndAppliesAFunction)
{
    auto call = callFor(DemoData::Quenn3SerialNumber, "SerialNumber");
    auto setFourth = [](base::MutableDictionary& fields) {
        auto quenn = fields.objectForKey("Quenn_DeviceConfig")->dictionary()->mutableCopy();
        quenn->setObject(base::Value("13912345678"), "SOSNum4");
        fields.setObject(base::Value(quenn->copy()), "Quenn_DeviceConfig");
        return true;
    };
    EXPECT_EQ(call.command(setFourth, "refused", "Serialnumber"), base::Value("refused")) << "wrong key";
    EXPECT_EQ(call.command(setFourth, "refused", "SerialNumber"), base::Value("命令提交成功"));
    EXPECT_EQ(field(DemoData::Quenn3SerialNumber, "Quenn_DeviceConfig", "SOSNum4"), base::Value("13912345678"));

    auto before = m_store.document(DemoData::Quenn3SerialNumber, ServiceStore::DetailDocument);
    auto refuse = [](base::MutableDictionary& fields) {
        fields.removeAllObjects();
        return false;
    };
    EXPECT_EQ(call.command(refuse, "refused", "SerialNumber"), base::Value("refused"));
    EXPECT_EQ(m_store.document(DemoData::Quenn3SerialNumber, ServiceStore::DetailDocument), before);
}

TEST_F(DeviceChangesTest, RenameChangesTheListAndTheDetail)
{
    EXPECT_TRUE(m_store.renameDevice(DemoData::ParvoSerialNumber, "Bike"));
    std::string listed;
    for (const auto& device : m_store.devicesOf(DemoData::AccountName)) {
        if (device.serialNumber == DemoData::ParvoSerialNumber)
            listed = device.name;
    }
    EXPECT_EQ(listed, "Bike");
    EXPECT_EQ(topField(DemoData::ParvoSerialNumber, "DeviceName"), base::Value("Bike"));
    EXPECT_FALSE(m_store.renameDevice("NOPE", "x"));
}

TEST_F(DeviceChangesTest, PasswordChangeReplacesTheOldPasswordOfThatAccountOnly)
{
    EXPECT_TRUE(m_store.setPassword(DemoData::AccountName, "new-secret"));
    EXPECT_FALSE(m_store.checkPassword(DemoData::AccountName, DemoData::Password));
    EXPECT_TRUE(m_store.checkPassword(DemoData::AccountName, "new-secret"));
    EXPECT_TRUE(m_store.checkPassword("other", "pw"));
    EXPECT_FALSE(m_store.setPassword("nobody", "x"));
    EXPECT_FALSE(m_store.checkPassword("nobody", "x"));
}

TEST_F(DeviceChangesTest, StepCountGrowsPerQuestionAndCanBeSet)
{
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value(4321));
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value(4921));

    m_store.setDocument(DemoData::WatchSerialNumber, ServiceStore::StepCountDocument, base::Value(5999));
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value(5999));
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value(6599));

    // A count the reader must take as text stays as it is.
    m_store.setDocument(DemoData::WatchSerialNumber, ServiceStore::StepCountDocument, base::Value("3000"));
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value("3000"));
    EXPECT_EQ(m_store.takeStepCount(DemoData::WatchSerialNumber, 600), base::Value("3000"));
    EXPECT_EQ(m_store.takeStepCount(DemoData::CarTrackerSerialNumber, 600), std::nullopt);
}

TEST_F(DeviceChangesTest, AppendsFromManyThreadsAreAllKept)
{
    constexpr int Threads = 8;
    constexpr int Appends = 20;
    std::vector<std::thread> writers;
    for (int writer = 0; writer < Threads; ++writer) {
        writers.emplace_back([this, writer] {
            for (int item = 0; item < Appends; ++item)
                m_store.appendToDocument("someone", ServiceStore::FeedbackDocument, base::Value(writer * 100 + item));
        });
    }
    for (auto& writer : writers)
        writer.join();
    auto all = m_store.document("someone", ServiceStore::FeedbackDocument);
    ASSERT_TRUE(all && all->array());
    EXPECT_EQ(all->array()->count(), static_cast<size_t>(Threads * Appends));
}

} // namespace
