// The message poll against the local tracking service: no question while the spool could not keep the answer
// (the service pops what it hands out) or a reply is held in memory, a reply with bad characters stored whole,
// a reply too large to receive said once and followed by a pause, a reply on disk as it arrives, and a reply
// that comes after its sign-in ended filed for the account that asked.
#include "LocalService.h"

#include "FailingSync.h"

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
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "net/http/URLRequest.h"
#include "support/ShownAlert.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using core::IncomingMessages;

using test::shownAlert;

// A loopback server of a test's own that answers the poll in two parts: the second only once the test lets it
// go, or, for a reply cut off, never (the connection then closes after the first).
class PartedReplyServer {
public:
    PartedReplyServer(std::string first, std::string rest, bool cutOff = false)
        : m_first(std::move(first))
        , m_rest(std::move(rest))
        , m_cutOff(cutOff)
    {
        m_server.Post(std::string("/Server/Mobileservice.asmx/") + core::ServiceProtocol::PopMessagesMethod,
            [this](const httplib::Request&, httplib::Response& response) {
                response.set_header("Connection", "close");
                response.set_content_provider(m_first.size() + m_rest.size(), "application/json",
                    [this](size_t offset, size_t, httplib::DataSink& sink) {
                        if (offset == 0)
                            return sink.write(m_first.data(), m_first.size());
                        if (m_cutOff)
                            return false;
                        std::unique_lock lock(m_mutex);
                        m_changed.wait(lock, [this] { return m_letGo; });
                        return sink.write(m_rest.data(), m_rest.size());
                    });
            });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        EXPECT_GT(m_port, 0);
        m_serving = std::thread([this] { m_server.listen_after_bind(); });
    }
    ~PartedReplyServer()
    {
        sendTheRest();
        m_server.stop();
        m_serving.join();
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    void sendTheRest()
    {
        {
            std::lock_guard lock(m_mutex);
            m_letGo = true;
        }
        m_changed.notify_all();
    }

private:
    const std::string m_first;
    const std::string m_rest;
    const bool m_cutOff;
    httplib::Server m_server;
    int m_port { 0 };
    std::thread m_serving;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_letGo { false };
};

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

    static std::vector<std::shared_ptr<core::UserMessageQuery>> storedFor(const std::string& account)
    {
        return core::DBManager::selectUserMessageQueryByUserName(
            account, tracking_service::DemoData::WatchSerialNumber, tracking_service::DemoData::AccountName);
    }

    // Polls and runs the main loop until the poll is over and what it brought is stored.
    void pollAndSettle()
    {
        bool finished = false;
        IncomingMessages::poll([&](bool) { finished = true; });
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
        IncomingMessages::poll([&](bool) { finished = true; });
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

// A disk that takes a reply's bytes as it arrives but refuses their flush: the file that holds the reply stays,
// a temporary one that a kill leaves for the next launch to take back; no question is asked meanwhile; once the
// disk flushes again that file is flushed and named, and its message stored once.
TEST_F(MessagePollTest, AReplyWhoseFlushFailsKeepsItsFileAndIsFlushedAgain)
{
    // The contents of the files a reply is being written into.
    auto temporaryReplies = [] {
        std::vector<std::string> contents;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::folder(), error))
            if (auto target = base::Files::temporaryTarget(entry.path());
                target && target->extension() == core::MessageSpool::ReplyExtension)
                contents.push_back(base::Files::read(entry.path()).value_or(""));
        return contents;
    };
    queue("u1", "unflushed");
    std::filesystem::remove_all(core::DBManager::databasePath());
    std::filesystem::create_directories(core::DBManager::databasePath()); // and a store that cannot open
    syncsFail = true;
    pollAndSettle();
    syncsFail = false;
    EXPECT_EQ(polls(), 1u);
    EXPECT_TRUE(core::MessageSpool::replies().empty()) << "not named while unflushed";
    auto left = temporaryReplies();
    ASSERT_EQ(left.size(), 1u) << "the file that holds the reply is still there";
    EXPECT_NE(left[0].find(R"("_id":"u1")"), std::string::npos);
    if (auto alert = shownAlert())
        alert->dismissWithClickedButtonIndex(0, false);

    std::filesystem::remove_all(core::DBManager::databasePath());
    pollAndSettle();
    EXPECT_EQ(polls(), 1u) << "no question while the reply is held: its flush is tried again instead";
    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_EQ(m_announced[0]->id_, "u1");
    EXPECT_TRUE(temporaryReplies().empty());
    EXPECT_TRUE(core::MessageSpool::replies().empty());
    pollAndSettle();
    EXPECT_EQ(polls(), 2u);
    EXPECT_EQ(m_announced.size(), 1u) << "stored once";
}

// At rest a poll every few seconds finds nothing: its reply, plainly an empty list, makes no file in the spool,
// not even one written as it arrives and removed after.
TEST_F(MessagePollTest, AnEmptyPollWritesNothing)
{
    ASSERT_TRUE(base::Files::createFolders(core::MessageSpool::folder()));
    int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, core::MessageSpool::folder().c_str(), IN_CREATE), 0);
    char events[4096];
    pollAndSettle();
    pollAndSettle();
    EXPECT_EQ(polls(), 2u);
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "no file made";
    queue("n1", "not empty");
    pollAndSettle();
    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_GT(::read(watch, events, sizeof events), 0) << "a reply that holds a message is written";
    ::close(watch);
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

// The first parent signs out while the poll is out and a second one signs in before its answer: the service has
// handed the first parent's messages out, so they are stored for the first parent, to be found at its next
// sign-in, and nothing of them is told to the second one.
TEST_F(MessagePollTest, AReplyThatComesAfterASignOutIsFiledForTheAccountThatAsked)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    ASSERT_TRUE(m_local.signIn(tracking_service::DemoData::AccountName));
    queue("a1", "for the first parent");
    m_local.service().faults().set(core::ServiceProtocol::PopMessagesMethod, tracking_service::Fault::held());
    bool finished = false;
    IncomingMessages::poll([&](bool) { finished = true; });
    ASSERT_TRUE(m_local.waitForRequestTo(core::ServiceProtocol::PopMessagesMethod));
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(m_local.signIn(LocalService::otherAccount));
    m_local.service().faults().remove(core::ServiceProtocol::PopMessagesMethod);
    ASSERT_TRUE(
        base::RunLoop::main().runUntil([&] { return finished && IncomingMessages::storesInFlight() == 0; }, 30s));

    EXPECT_TRUE(storedFor(LocalService::otherAccount).empty());
    EXPECT_TRUE(m_announced.empty()) << "the second parent's screens hear nothing of it";
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(m_local.signIn(tracking_service::DemoData::AccountName));
    auto stored = storedFor(tracking_service::DemoData::AccountName);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->id_, "a1");
}

// The parent signs out and in again while the poll is out: the messages are the same account's, so its new
// sign-in hears of them (its open message list shows them without being opened again).
TEST_F(MessagePollTest, AReplyThatComesAfterTheSameAccountSignedInAgainIsAnnouncedToIt)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    ASSERT_TRUE(m_local.signIn(tracking_service::DemoData::AccountName));
    queue("s1", "for the same parent");
    m_local.service().faults().set(core::ServiceProtocol::PopMessagesMethod, tracking_service::Fault::held());
    bool finished = false;
    IncomingMessages::poll([&](bool) { finished = true; });
    ASSERT_TRUE(m_local.waitForRequestTo(core::ServiceProtocol::PopMessagesMethod));
    core::Logout::logOutKeepingPushToken();
    ASSERT_TRUE(m_local.signIn(tracking_service::DemoData::AccountName));
    m_local.service().faults().remove(core::ServiceProtocol::PopMessagesMethod);
    ASSERT_TRUE(
        base::RunLoop::main().runUntil([&] { return finished && IncomingMessages::storesInFlight() == 0; }, 30s));

    ASSERT_EQ(m_announced.size(), 1u);
    EXPECT_EQ(m_announced[0]->id_, "s1");
    EXPECT_EQ(storedFor(tracking_service::DemoData::AccountName).size(), 1u);
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

// A loopback server of the test's own sends the first message of a reply and holds the rest until the test has
// seen that part in the spool; a second reply is cut off after that part (the connection closes).
TEST_F(MessagePollTest, AReplyIsOnDiskAsItArrivesAndAPartCutOffIsKept)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the held reply must not end on the real clock
    auto message = [](const std::string& id) {
        return R"({"_id":")" + id + R"(","Desc":"","Context":"part","From":")"
            + tracking_service::DemoData::WatchSerialNumber + R"(","MsgType":3})";
    };
    const std::string first = R"({"d":[)" + message("p1") + ",";
    auto server = std::make_unique<PartedReplyServer>(first, message("p2") + "]}");
    core::Singleton::shared().setServer(server->url());
    // The bytes a reply being written into the spool holds so far (none while there is no such file).
    auto arriving = [] {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::folder(), error))
            if (auto target = base::Files::temporaryTarget(entry.path());
                target && target->extension() == core::MessageSpool::ReplyExtension)
                return base::Files::read(entry.path()).value_or("");
        return std::string();
    };

    bool finished = false;
    IncomingMessages::poll([&](bool) { finished = true; });
    EXPECT_TRUE(base::RunLoop::main().runUntil([&] { return arriving().ends_with("\n" + first); }, 30s))
        << "the part received is on disk before the rest comes";
    EXPECT_FALSE(finished);
    server->sendTheRest();
    ASSERT_TRUE(
        base::RunLoop::main().runUntil([&] { return finished && IncomingMessages::storesInFlight() == 0; }, 30s));
    ASSERT_EQ(m_announced.size(), 2u);
    EXPECT_EQ(m_announced[1]->id_, "p2");
    EXPECT_TRUE(core::MessageSpool::replies().empty());
    EXPECT_EQ(arriving(), "") << "no temporary file is left";

    const std::string cut = R"({"d":[)" + message("c1") + ",";
    server = std::make_unique<PartedReplyServer>(cut, message("c2") + "]}", true);
    core::Singleton::shared().setServer(server->url());
    pollAndSettle();
    EXPECT_EQ(arriving(), "");
    std::string keptAside;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::asideFolder(), error))
        if (entry.path().extension() == core::MessageSpool::ReplyExtension)
            keptAside += base::Files::read(entry.path()).value_or("");
    bool stored = m_announced.size() == 3 && m_announced[2]->id_ == "c1";
    EXPECT_TRUE(stored || keptAside.ends_with("\n" + cut)) << "the part that came is stored or kept aside";
}

// A loopback server of the test's own answers a body longer than the network layer keeps, until the test has it
// answer an empty batch. The refusal pauses the polls, longer with each refusal in a row; a reply ends the run.
TEST_F(MessagePollTest, AReplyTooLargeToReceiveIsLoggedAndSaidOnceAndPausesThePolls)
{
    const size_t bodyBytes = core::MessageSpool::largestReply() + (1 << 20);
    const std::string chunk(1 << 20, ' ');
    std::atomic<int> asked { 0 };
    std::atomic<bool> tooLarge { true };
    httplib::Server server;
    server.Post(std::string("/Server/Mobileservice.asmx/") + core::ServiceProtocol::PopMessagesMethod,
        [&](const httplib::Request&, httplib::Response& response) {
            ++asked;
            response.set_header("Connection", "close");
            if (!tooLarge) {
                response.set_content(R"({"d":[]})", "application/json");
                return;
            }
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
    EXPECT_EQ(asked, 1);
    auto alert = shownAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->message(), base::localized(IncomingMessages::ReplyTooLargeMessageKey));
    alert->dismissWithClickedButtonIndex(0, false);
    // Each row: the simulated time to wait before polling again, and the questions asked by then.
    const std::pair<int, int> pauses[] = { { 0, 1 }, { 1, 1 }, { 1, 2 }, { 3, 2 }, { 1, 3 }, { 8, 4 }, { 16, 5 },
        { 32, 6 }, { 64, 7 }, { 128, 8 }, { 256, 9 }, { 299, 9 }, { 1, 10 } };
    for (auto [wait, questions] : pauses) {
        clock->advance(base::Duration(wait));
        pollAndSettle();
        EXPECT_EQ(asked, questions) << "at " << elapsed() << " s";
    }

    tooLarge = false;
    clock->advance(base::Duration(300));
    pollAndSettle();
    pollAndSettle();
    EXPECT_EQ(asked, 12) << "a reply received ends the pauses";
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
