// The receipt uploader against the local tracking service: what it sends, when the receipt counts as
// granted, how refusals and failures are retried (every 2.0 s while someone waits, else 2.0 s after the first
// and twice as long after each next one; one chain, which a request restarts at once), and that a receipt
// goes only in a sign-in of the account that bought it, for the device it was bought for.
#include "LocalService.h"

#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Bundle.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/Helper.h"
#include "core/service/Purchases.h"
#include "core/service/ReceiptUploader.h"
#include "core/service/ServiceClient.h"
#include "core/service/StoreLookup.h"
#include "core/service/StoreLookupRoot.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "net/http/URLRequest.h"
#include "networking/forms/Base64.h"
#include "networking/http/NetworkActivityIndicatorManager.h"
#include "store/Receipt.h"
#include "ui/view/Application.h"
#include "json/JSONDecoder.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;
using core::ReceiptUploader;
using tracking_service::DemoData;
using tracking_service::Fault;

class Listener : public core::ReceiptUploaderListener {
public:
    void receiptGranted() override { ++grants; }
    int grants { 0 };
};

class ReceiptUploaderTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        core::Singleton::shared().setServer(m_local.service().rootUrl());
        core::Singleton::shared().setLastSerialnumber(DemoData::Quenn3SerialNumber);
        core::Helper::saveSettingValue(base::Value(m_local.cookie()), core::SettingsKeys::Cookie);
        core::SignInSession::begin(DemoData::AccountName); // whose session the cookie is
        // Only a transfer something lost times out: a held reply is held as long as the test takes.
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ReceiptUploader::relaunch();
        uploader = ReceiptUploader::shared();
        uploader->start();
        uploader->setListener(listener);
    }
    void TearDown() override
    {
        EXPECT_TRUE(base::RunLoop::main().runUntil([] { return idle(); }, 30s));
        ReceiptUploader::relaunch();
        auto& defaults = base::UserDefaults::standard();
        for (const char* key : { core::SettingsKeys::Cookie, core::SettingsKeys::Receipt, core::Purchases::Key,
                 core::Purchases::LegacySerialKey, core::Purchases::LegacyAccountKey,
                 core::SettingsKeys::LastSerialNumber })
            defaults.removeObjectForKey(key);
        net::URLRequest::setDefaultTimeoutInterval(60s);
        base::Bundle::main().setInfoValue(base::Bundle::VersionKey, m_version);
        ManualClockTest::TearDown();
    }

    static bool idle() { return core::ServiceClient::sharedClient()->operationQueue()->operationCount() == 0; }

    std::vector<tracking_service::ReceivedRequest> uploads()
    {
        return m_local.service().requestLog().requestsTo(ReceiptUploader::Method);
    }
    // Waits, on the current virtual instant, until the uploader has sent `count` uploads and heard the reply.
    void waitForUploads(size_t count)
    {
        EXPECT_TRUE(
            base::RunLoop::main().runUntil([&] { return uploads().size() >= count && !uploader->isUploading(); }, 30s));
        EXPECT_EQ(uploads().size(), count);
    }
    base::DictionaryRef lastBody()
    {
        auto body = json::objectFromJSONString(uploads().back().body);
        return body ? body->dictionary() : nullptr;
    }

    static std::optional<std::string> receiptSetting()
    {
        return base::UserDefaults::standard().stringForKey(core::SettingsKeys::Receipt);
    }
    // A purchase of the signed-in account for the device, completed by the store with that receipt.
    static void keep(const std::string& receipt, const std::string& serialNumber, const std::string& transaction = "T1")
    {
        core::Purchases::add(transaction, core::SignInSession::current().account, serialNumber);
        core::Purchases::keepReceipt(transaction, receipt);
    }
    static bool waiting() { return core::Purchases::anyReceiptWaits(); }

    const std::string receipt
        = networking::Base64::encode(std::string(store::Receipt::Marker) + "T1 lumet.Permanent\n");
    LocalService m_local;
    std::shared_ptr<ReceiptUploader> uploader;
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    std::string m_version = base::Bundle::main().version();
    base::Log::ScopedCapture m_log;
};

TEST_F(ReceiptUploaderTest, SendsTheFieldsInTheirKindsForTheDeviceTheReceiptWasBoughtFor)
{
    keep(receipt, DemoData::WatchSerialNumber);
    uploader->uploadStoredReceipt();
    waitForUploads(1);

    auto body = lastBody();
    ASSERT_TRUE(body);
    EXPECT_EQ(*body->objectForKey("SerialNumber"), base::Value(DemoData::WatchSerialNumber))
        << "the stored serial, not the current device";
    EXPECT_EQ(*body->objectForKey("Money"), base::Value(int64_t(60)));
    EXPECT_TRUE(body->objectForKey("OrdId")->isNull());
    EXPECT_EQ(*body->objectForKey("IsDebug"), base::Value(false));
    EXPECT_EQ(*body->objectForKey("Data"), base::Value(receipt));
    EXPECT_EQ(uploads()[0].header("Cookie"), m_local.cookie());

    EXPECT_FALSE(waiting()) << "granted: the purchase is forgotten";
    EXPECT_FALSE(base::UserDefaults::standard().objectForKey(core::Purchases::Key));
    EXPECT_EQ(listener->grants, 1);
    clock->advance(5s);
    EXPECT_EQ(uploads().size(), 1u) << "nothing more after a grant";
}

TEST_F(ReceiptUploaderTest, TheUploadHoldsTheActivityIndicatorUntilItsReply)
{
    auto& indicator = networking::NetworkActivityIndicatorManager::sharedManager();
    indicator.setEnabled(true);
    m_local.service().faults().set(ReceiptUploader::Method, Fault::held());
    keep(receipt, DemoData::WatchSerialNumber);
    uploader->uploadStoredReceipt();
    ASSERT_TRUE(m_local.waitForRequestTo(ReceiptUploader::Method));
    ASSERT_EQ(uploads().size(), 1u);
    EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());

    m_local.service().faults().remove(ReceiptUploader::Method);
    waitForUploads(1);
    clock->advance(networking::NetworkActivityIndicatorManager::invisibilityDelay + 50ms);
    EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
    indicator.setEnabled(false);
}

// A receipt an earlier version kept in the settings still goes: for its device (the current one when it
// was kept without), in a sign-in of its buyer (any, when it was kept without).
TEST_F(ReceiptUploaderTest, AReceiptKeptByAnEarlierVersionStillGoesForItsDeviceInItsBuyersSignIn)
{
    struct Case {
        std::optional<std::string> serial, buyer;
        const char* sentFor; // nothing: it waits for another account's sign-in
    };
    const Case cases[] = { { std::nullopt, std::nullopt, DemoData::WatchSerialNumber },
        { DemoData::Quenn3SerialNumber, DemoData::AccountName, DemoData::Quenn3SerialNumber },
        { DemoData::Quenn3SerialNumber, std::string(LocalService::otherAccount), nullptr } };
    core::Singleton::shared().setLastSerialnumber(DemoData::WatchSerialNumber);
    size_t sent = 0;
    for (const Case& legacy : cases) {
        core::Helper::saveSettingValue(base::Value(receipt), core::SettingsKeys::Receipt);
        auto optionalText = [](const std::optional<std::string>& text) {
            return text ? std::optional(base::Value(*text)) : std::nullopt;
        };
        core::Helper::saveSettingValue(optionalText(legacy.serial), core::Purchases::LegacySerialKey);
        core::Helper::saveSettingValue(optionalText(legacy.buyer), core::Purchases::LegacyAccountKey);
        base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);
        if (!legacy.sentFor) {
            clock->advance(3s);
            ASSERT_TRUE(base::RunLoop::main().runUntil([] { return idle(); }, 30s));
            EXPECT_EQ(uploads().size(), sent) << "not in another account's sign-in";
            EXPECT_EQ(receiptSetting(), receipt);
            continue;
        }
        waitForUploads(++sent);
        EXPECT_EQ(*lastBody()->objectForKey("SerialNumber"), base::Value(legacy.sentFor));
        EXPECT_EQ(receiptSetting(), "");
        EXPECT_FALSE(base::UserDefaults::standard().objectForKey(core::Purchases::LegacySerialKey));
        EXPECT_FALSE(base::UserDefaults::standard().objectForKey(core::Purchases::LegacyAccountKey));
    }
}

TEST_F(ReceiptUploaderTest, OnlyTheNumberOrTheTextZeroGrants)
{
    for (const char* reply : { R"({"d":0})", R"({"d":"0"})", R"({"d":0.0})" })
        EXPECT_TRUE(ReceiptUploader::isGranted(reply)) << reply;
    for (const char* reply : { R"({"d":1})", R"({"d":"1"})", R"({"d":"0abc"})", R"({"d":" 0"})", R"({"d":""})",
             R"({"d":null})", R"({"d":{}})", R"({"d":[0]})", R"({"d":false})", R"({"x":0})", "<html>0</html>", "" })
        EXPECT_FALSE(ReceiptUploader::isGranted(reply)) << reply;
}

// With no purchase screen waiting, a long outage is retried less and less often.
TEST_F(ReceiptUploaderTest, EveryRefusalOrFailureKeepsTheReceiptAndRetriesTwiceAsLateEachTimeUpToTheLimit)
{
    uploader->setListener({});
    keep(receipt, DemoData::WatchSerialNumber);
    size_t sent = 0;
    base::Duration delay = ReceiptUploader::retryDelay;
    for (const Fault& fault : { Fault::payload(base::Value(int64_t(1))), Fault::payload(base::Value::null()),
             Fault::payload(base::Dictionary::make()), Fault::status(500), Fault::dropConnection(),
             Fault::nonJsonBody(), Fault::noPayload(), Fault::refusal(), Fault::status(503) }) {
        m_local.service().faults().set(ReceiptUploader::Method, fault);
        if (sent == 0)
            uploader->uploadStoredReceipt();
        else
            clock->advance(0.1s);
        waitForUploads(++sent);
        EXPECT_TRUE(waiting()) << static_cast<int>(fault.kind);
        EXPECT_TRUE(uploader->hasPendingRetry());

        clock->advance(delay - 0.1s);
        EXPECT_EQ(uploads().size(), sent) << "no retry before " << delay.count() << " s";
        delay = std::min(delay * 2, ReceiptUploader::retryDelayLimit);
    }
    EXPECT_EQ(delay, ReceiptUploader::retryDelayLimit) << "the last retries wait the longest";
    m_local.service().faults().clear();
    uploader->setListener(listener);
    clock->advance(0.1s);
    waitForUploads(++sent);
    EXPECT_FALSE(waiting());
    EXPECT_EQ(listener->grants, 1);
    auto logged = m_log.messages();
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                  [](const std::string& line) { return line.find("receipt upload") != std::string::npos; }),
        1)
        << "the refusals of one account are logged once";
}

// After a long outage the back-off has reached its limit. The buyer's sign-in ("uploadReceipt") and the
// purchase screen's request send at once and start the delays again from 2.0 s; while the screen waits, every
// retry comes 2.0 s after the last, so the grant shows moments after the service is back.
TEST_F(ReceiptUploaderTest, TheBuyersSignInAndTheScreensRequestSendAtOnceAndStartTheDelaysAgain)
{
    uploader->setListener({});
    keep(receipt, DemoData::WatchSerialNumber);
    m_local.service().faults().set(ReceiptUploader::Method, Fault::status(503));
    uploader->uploadStoredReceipt();
    size_t sent = 0;
    waitForUploads(++sent);
    for (base::Duration delay = ReceiptUploader::retryDelay; delay < ReceiptUploader::retryDelayLimit; delay *= 2) {
        clock->advance(delay);
        waitForUploads(++sent);
    }

    base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);
    waitForUploads(++sent);
    clock->advance(ReceiptUploader::retryDelay);
    waitForUploads(++sent);
    clock->advance(ReceiptUploader::retryDelay * 2);
    waitForUploads(++sent);

    uploader->setListener(listener);
    uploader->uploadStoredReceipt();
    waitForUploads(++sent);
    for (int retry = 0; retry < 3; ++retry) {
        clock->advance(ReceiptUploader::retryDelay);
        waitForUploads(++sent);
    }
    m_local.service().faults().clear();
    clock->advance(ReceiptUploader::retryDelay);
    waitForUploads(++sent);
    EXPECT_FALSE(waiting());
    EXPECT_EQ(listener->grants, 1);
}

// The first parent's upload is refused after it has signed out and a second parent has signed in: the receipt
// waits, through every retry, for the first parent's next sign-in, and goes in that parent's session.
TEST_F(ReceiptUploaderTest, AReceiptGoesOnlyInASignInOfTheAccountThatBoughtIt)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    ASSERT_TRUE(m_local.signIn(DemoData::AccountName));
    keep(receipt, DemoData::WatchSerialNumber);
    m_local.service().faults().set(ReceiptUploader::Method, Fault::held());
    uploader->uploadStoredReceipt();
    ASSERT_TRUE(m_local.waitForRequestTo(ReceiptUploader::Method));
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(m_local.signIn(LocalService::otherAccount));
    m_local.service().faults().letGo(ReceiptUploader::Method, 0, Fault::refusal());
    waitForUploads(1);
    for (int minute = 0; minute < 10; ++minute)
        clock->advance(60s);
    EXPECT_EQ(uploads().size(), 1u) << "nothing in the second parent's session";
    EXPECT_EQ(listener->grants, 0);

    m_local.service().faults().remove(ReceiptUploader::Method);
    core::Logout::logOutKeepingPushToken();
    clock->advance(60s);
    EXPECT_EQ(uploads().size(), 1u) << "nothing signed out";
    ASSERT_TRUE(m_local.signIn(DemoData::AccountName));
    waitForUploads(2);
    EXPECT_EQ(
        uploads().back().header("Cookie"), base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie));
    EXPECT_FALSE(waiting());
    EXPECT_EQ(listener->grants, 1);
}

TEST_F(ReceiptUploaderTest, AReceiptStoredWhileAnotherIsOnItsWayIsSentAfterTheGrant)
{
    keep(receipt, DemoData::WatchSerialNumber);
    uploader->uploadStoredReceipt();
    ASSERT_TRUE(base::RunLoop::main().runUntil([&] { return uploader->isUploading(); }, 30s));
    std::string second = networking::Base64::encode(std::string(store::Receipt::Marker) + "T2 lumet.Permanent\n");
    keep(second, DemoData::WatchSerialNumber, "T2");
    EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return uploads().size() == 2 && !uploader->isUploading(); }, 30s));
    EXPECT_EQ(*lastBody()->objectForKey("Data"), base::Value(second));
    EXPECT_FALSE(waiting());
}

TEST_F(ReceiptUploaderTest, NothingIsSentWithoutAStoredReceipt)
{
    core::Helper::saveSettingValue(base::Value("  "), core::SettingsKeys::Receipt);
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);
    clock->advance(3s);
    ASSERT_TRUE(base::RunLoop::main().runUntil([] { return idle(); }, 30s));
    EXPECT_TRUE(uploads().empty());
}

TEST_F(ReceiptUploaderTest, TheUploadCarriesTheLookedUpFlag)
{
    base::Bundle::main().setInfoValue(base::Bundle::VersionKey, core::DebugStoreVersion);
    keep(receipt, DemoData::WatchSerialNumber);
    uploader->uploadStoredReceipt();
    waitForUploads(1);
    EXPECT_EQ(*lastBody()->objectForKey("IsDebug"), base::Value(true));
    auto lookups = m_local.service().requestLog().requestsTo("lookup");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].queryParameters.at("id"), core::StoreIdentifier);
    EXPECT_FALSE(lookups[0].hasHeader("Cookie")) << "the session stays with the tracking service";
}

TEST_F(ReceiptUploaderTest, TheFirstUploadWaitsForTheLookupsTimeOutAndThenSaysFalse)
{
    base::Bundle::main().setInfoValue(base::Bundle::VersionKey, core::DebugStoreVersion);
    m_local.service().faults().set("lookup", Fault::held());
    keep(receipt, DemoData::WatchSerialNumber);
    uploader->uploadStoredReceipt();
    ASSERT_TRUE(m_local.waitForRequestTo("lookup"));
    clock->advance(core::StoreLookup::timeout - 0.1s);
    EXPECT_TRUE(uploads().empty()) << "the upload waits for the lookup";
    clock->advance(0.1s);
    waitForUploads(1);
    EXPECT_EQ(*lastBody()->objectForKey("IsDebug"), base::Value(false));
}

TEST_F(ReceiptUploaderTest, ThePublishedVersionIsTheLastOneOfTheResults)
{
    using core::StoreLookup;
    EXPECT_EQ(StoreLookup::publishedVersion(R"({"results":[{"version":"1.0.7"},{"version":"1.0.8"}]})"), "1.0.8");
    EXPECT_EQ(StoreLookup::publishedVersion(R"({"results":[{"version":"1.0.8"},{"other":1}]})"), "1.0.8");
    EXPECT_FALSE(StoreLookup::publishedVersion(R"({"results":[]})"));
    EXPECT_FALSE(StoreLookup::publishedVersion(R"({"results":{"version":"1.0.8"}})"));
    EXPECT_FALSE(StoreLookup::publishedVersion("not json"));
}

} // namespace
