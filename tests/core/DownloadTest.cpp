// The file download end to end against the local tracking service: the request it makes, the raw bytes it
// hands back, and the failures that reach the failure block.
#include "LocalService.h"

#include "base/ClockFixture.h"
#include "base/system/UserDefaults.h"
#include "core/service/Download.h"
#include "core/helpers/Helper.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/SettingsKeys.h"

namespace {

using namespace std::chrono_literals;
using tracking_service::DemoData;
using tracking_service::Fault;

class DownloadTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        core::Helper::saveSettingValue(base::Value(m_local.cookie()), core::SettingsKeys::Cookie);
    }
    void TearDown() override
    {
        base::UserDefaults::standard().removeObjectForKey(core::SettingsKeys::Cookie);
        ManualClockTest::TearDown();
    }

    struct Outcome {
        std::optional<std::string> bytes;
        std::optional<base::Error> error;
    };

    Outcome download(const std::string& fileName)
    {
        Outcome outcome;
        int calls = 0;
        core::Download::post(
            m_local.service().rootUrl() + core::ServiceProtocol::DownloadPath + "?"
                + core::ServiceProtocol::DownloadNameParameter + "=" + fileName,
            [&](std::string bytes) {
                outcome.bytes = std::move(bytes);
                ++calls;
            },
            [&](const base::Error& error) {
                outcome.error = error;
                ++calls;
            });
        EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return calls > 0; }, 10s));
        EXPECT_EQ(calls, 1);
        return outcome;
    }

    LocalService m_local;
};

TEST_F(DownloadTest, PostsWithTheSessionCookieAndHandsBackTheFilesBytes)
{
    auto expected = m_local.service().store().file(DemoData::VoiceFileName);
    ASSERT_TRUE(expected && expected->size() > 6);
    auto outcome = download(DemoData::VoiceFileName);
    ASSERT_TRUE(outcome.bytes);
    EXPECT_EQ(*outcome.bytes, std::string(expected->begin(), expected->end()));
    EXPECT_TRUE(outcome.bytes->starts_with("#!AMR")) << "binary bytes, not a text reading of them";

    auto requests = m_local.service().requestLog().requestsTo("LumetDow.ashx");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].httpMethod, "POST");
    EXPECT_EQ(requests[0].header("Cookie"), m_local.cookie());
    EXPECT_EQ(requests[0].queryParameters.count("FileName"), 1u);
}

TEST_F(DownloadTest, AMissingFileABadStatusAndADroppedConnectionAreFailures)
{
    auto missing = download("nothing_here.amr");
    EXPECT_FALSE(missing.bytes);
    EXPECT_TRUE(missing.error);

    for (const Fault& fault : { Fault::status(500), Fault::status(302), Fault::dropConnection() }) {
        m_local.service().faults().set("LumetDow.ashx", fault);
        auto outcome = download(DemoData::VoiceFileName);
        EXPECT_FALSE(outcome.bytes) << static_cast<int>(fault.kind);
        EXPECT_TRUE(outcome.error) << static_cast<int>(fault.kind);
    }
    m_local.service().faults().clear();
    EXPECT_TRUE(download(DemoData::VoiceFileName).bytes);
}

} // namespace
