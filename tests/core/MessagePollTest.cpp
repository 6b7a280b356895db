// The message poll against the local tracking service: no question while the spool could not keep the answer
// (the service pops what it hands out) or a reply is held in memory, a reply with bad characters stored whole,
// and a reply too large to receive said once.
#include "LocalService.h"

#include "base/ClockFixture.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/messages/MessageSpool.h"
#include "core/service/ServiceClient.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "net/http/URLRequest.h"
#include "support/ShownAlert.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <algorithm>
#include <thread>

namespace {

using namespace std::chrono_literals;
using core::IncomingMessages;

using test::shownAlert;

class MessagePollTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        core::Singleton::shared().setServer(m_local.service().rootUrl());
        core::Helper::saveSettingValue(base::Value(m_local.cookie()), core::SettingsKeys::Cookie);
        base::UserDefaults::standard().setObject(
            base::Value(tracking_service::DemoData::AccountName), core::SettingsKeys::LoginName2);
        // Only a transfer something lost times out: a slow machine's reply is still a reply.
        net::URLRequest::setDefaultTimeoutInterval(60s);
        std::filesystem::remove_all(core::DBManager::databasePath());
        std::filesystem::remove_all(core::MessageSpool::folder());
        ASSERT_TRUE(core::DBManager::createTables());
        // Only what this test queues.
        std::string drained = m_local.reply(core::ServiceProtocol::PopMessagesMethod);
        ASSERT_FALSE(drained.empty());
        m_local.service().requestLog().clear();
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::ReceiveRemoteNotification, nullptr,
            [this](
                const base::Notification& posted) { m_announced.push_back(posted.objectAs<core::UserMessageQuery>()); },
            this);
    }
    void TearDown() override
    {
        EXPECT_TRUE(base::RunLoop::main().runUntil([] { return IncomingMessages::storesInFlight() == 0; }, 30s));
        if (auto alert = shownAlert())
            alert->dismissWithClickedButtonIndex(0, false);
        base::NotificationCenter::defaultCenter().removeObservers(this);
        for (const char* key : { "RootUrl", "kCookie", "kLoginName2" })
            base::UserDefaults::standard().removeObjectForKey(key);
        std::filesystem::remove_all(core::MessageSpool::folder());
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ManualClockTest::TearDown();
    }

    size_t polls()
    {
        return m_local.service().requestLog().requestsTo(core::ServiceProtocol::PopMessagesMethod).size();
    }

    void queue(const std::string& id, const std::string& text)
    {
        ASSERT_TRUE(m_local.service().store().queueMessage(tracking_service::DemoData::AccountName,
            base::Value(base::Dictionary::make({ { "_id", id }, { "Context", text }, { "Desc", "" },
                { "From", tracking_service::DemoData::WatchSerialNumber },
                { "To", tracking_service::DemoData::AccountName }, { "MsgType", 3 } }))));
    }

    // Polls and runs the main loop until the poll is over and what it brought is stored.
    void pollAndSettle()
    {
        bool finished = false;
        IncomingMessages::poll([&] { finished = true; });
        ASSERT_TRUE(
            base::RunLoop::main().runUntil([&] { return finished && IncomingMessages::storesInFlight() == 0; }, 30s));
    }

    LocalService m_local;
    std::vector<std::shared_ptr<core::UserMessageQuery>> m_announced;
    base::Log::ScopedCapture m_quiet;
};

TEST_F(MessagePollTest, NoQuestionIsAskedWhileTheSpoolCouldNotKeepTheAnswer)
{
    queue("w1", "waiting");
    ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::folder(), "in the way"));
    pollAndSettle();
    EXPECT_EQ(polls(), 0u) << "the messages stay on the service";
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::NoRoomMessageKey));
    alert->dismissWithClickedButtonIndex(0, false);
    pollAndSettle();
    EXPECT_EQ(polls(), 0u);
    EXPECT_EQ(shownAlert(), nullptr) << "said once";

    std::filesystem::remove(core::MessageSpool::folder());
    pollAndSettle();
    EXPECT_EQ(polls(), 1u);
    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_EQ(m_announced[0]->id_, "w1");
    EXPECT_EQ(shownAlert(), nullptr);
}

// A write can fail where the room check found room (no file left to make, a failing disk): here the spool is
// taken away once the poll has gone out.
TEST_F(MessagePollTest, NoQuestionIsAskedWhileAReplyIsHeldInMemoryOrTheSpoolFailedItsLastWrite)
{
    auto pollLosingTheSpool = [this] {
        bool finished = false;
        IncomingMessages::poll([&] { finished = true; });
        auto away = core::MessageSpool::folder().string() + ".away";
        std::filesystem::rename(core::MessageSpool::folder(), away);
        ASSERT_TRUE(base::Files::writeAtomically(core::MessageSpool::folder(), "in the way"));
        ASSERT_TRUE(
            base::RunLoop::main().runUntil([&] { return finished && IncomingMessages::storesInFlight() == 0; }, 30s));
        std::filesystem::remove(core::MessageSpool::folder());
        std::filesystem::rename(away, core::MessageSpool::folder());
    };
    auto expectNotice = [](const char* key) {
        auto alert = shownAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->message(), base::localized(key));
        alert->dismissWithClickedButtonIndex(0, false);
    };

    queue("h1", "held");
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath()); // and a store that cannot open
    pollLosingTheSpool();
    EXPECT_EQ(polls(), 1u);
    expectNotice(IncomingMessages::NotKeptMessageKey);
    EXPECT_TRUE(m_quiet.contains("held in memory")) << "the log does not say they wait in the spool";
    queue("h2", "next");
    pollAndSettle();
    EXPECT_EQ(polls(), 1u) << "no question while a reply is held in memory: it is written instead";
    EXPECT_EQ(core::MessageSpool::replies().size(), 1u);
    expectNotice(IncomingMessages::StoreFailedMessageKey);

    std::filesystem::remove_all(core::DBManager::databasePath());
    pollLosingTheSpool(); // the new reply is stored from memory
    EXPECT_EQ(polls(), 2u);
    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_EQ(m_announced[0]->id_, "h2");
    queue("h3", "after");
    pollAndSettle();
    EXPECT_EQ(polls(), 2u) << "no question while the spool's last write failed: a write is tried instead";
    expectNotice(IncomingMessages::NoRoomMessageKey);
    ASSERT_EQ(m_announced.size(), 2u) << "and what waits in the spool is stored";
    EXPECT_EQ(m_announced[1]->id_, "h1");
    pollAndSettle();
    EXPECT_EQ(polls(), 3u);
    ASSERT_EQ(m_announced.size(), 3u);
    EXPECT_EQ(shownAlert(), nullptr);
}

// The exit waits until no store is in flight: that must cover a poll from its question until its reply is stored.
TEST_F(MessagePollTest, APollCountsAsInFlightUntilItsReplyIsStored)
{
    queue("e1", "on its way");
    IncomingMessages::poll({});
    EXPECT_EQ(IncomingMessages::storesInFlight(), 1u);
    ASSERT_TRUE(base::RunLoop::main().runUntil([] { return IncomingMessages::storesInFlight() == 0; }, 30s));
    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_EQ(m_announced[0]->id_, "e1");
}

// The stand-in only sends what it can encode, so the reply comes as raw bytes from a loopback server of the
// test's own.
TEST_F(MessagePollTest, AReplyWithBadCharactersIsStoredWhole)
{
    const std::string body = std::string(R"({"d":[{"_id":"z1","Desc":"","Context":"nul\u0000here","MsgType":3},)")
        + R"({"_id":"z2","Desc":"","Context":"cut )" + "\xF0\x9F\x98" + R"(","MsgType":3},)"
        + R"({"_id":"z3","Desc":"","Context":"plain","MsgType":3}]})";
    httplib::Server server;
    server.Post(std::string("/Server/Mobileservice.asmx/") + core::ServiceProtocol::PopMessagesMethod,
        [&](const httplib::Request&, httplib::Response& response) {
            response.set_header("Connection", "close");
            response.set_content(body, "application/json; charset=utf-8");
        });
    int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    core::Singleton::shared().setServer("http://127.0.0.1:" + std::to_string(port));

    pollAndSettle();
    server.stop();
    serving.join();
    ASSERT_EQ(m_announced.size(), 3u);
    EXPECT_EQ(m_announced[0]->context, "nul\xEF\xBF\xBDhere");
    EXPECT_EQ(m_announced[1]->context, "cut \xEF\xBF\xBD");
    EXPECT_EQ(m_announced[2]->context, "plain");
    EXPECT_TRUE(core::MessageSpool::replies().empty());
}

// A loopback server of the test's own answers a body longer than the network layer keeps.
TEST_F(MessagePollTest, AReplyTooLargeToReceiveIsLoggedAndSaidOnce)
{
    const size_t bodyBytes = core::MessageSpool::largestReply() + (1 << 20);
    const std::string chunk(1 << 20, ' ');
    httplib::Server server;
    server.Post(std::string("/Server/Mobileservice.asmx/") + core::ServiceProtocol::PopMessagesMethod,
        [&](const httplib::Request&, httplib::Response& response) {
            response.set_header("Connection", "close");
            response.set_content_provider(
                bodyBytes, "application/json", [&](size_t offset, size_t length, httplib::DataSink& sink) {
                    (void)offset;
                    return sink.write(chunk.data(), std::min(length, chunk.size()));
                });
        });
    int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    core::Singleton::shared().setServer("http://127.0.0.1:" + std::to_string(port));

    pollAndSettle();
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::ReplyTooLargeMessageKey));
    alert->dismissWithClickedButtonIndex(0, false);
    pollAndSettle();
    server.stop();
    serving.join();
    EXPECT_EQ(shownAlert(), nullptr) << "said once";
    auto logged = m_quiet.messages();
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                  [](const std::string& line) { return line.find("larger than") != std::string::npos; }),
        1)
        << "logged once";
}

} // namespace
