// The message poll against the local tracking service: no question while the spool could not keep the answer
// (the service pops what it hands out), and a reply with bad characters stored whole.
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
        net::URLRequest::setDefaultTimeoutInterval(2s);
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

} // namespace
