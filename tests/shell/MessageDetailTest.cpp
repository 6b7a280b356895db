// The message detail, pushed from the home screen: the current device's messages of the message tables as
// speech bubbles, one that arrives while it shows among them, and its watch voice rows played by the home screen's own
// player (fetched once into the message folder under the chat cell's cache name), stopped when the screen goes.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/time/ServiceDateText.h"
#include "chat/MessageCell.h"
#include "chat/MessageHistory.h"
#include "chat/VoiceFileCache.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/NotificationNames.h"
#include "kit/overlay/NoticeOverlay.h"
#include "media/backends/AudioBackend.h"
#include "media/backends/ScriptedAudioBackend.h"
#include "shell/messages/MessageInfoVC.h"
#include "tracking-service/DemoData.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"
#include "ui/scroll/TableView.h"
#include "voice/RecordAudio.h"

#include <algorithm>

namespace {

using tracking_service::DemoData;

class MessageDetail : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        media::AudioBackend::setCurrent(std::make_shared<media::ScriptedAudioBackend>(true));
    }
    void TearDown() override
    {
        detail = nullptr;
        ShellTest::TearDown();
        media::AudioBackend::setCurrent(nullptr);
    }

    // Signs in, lets the home screen keep the service's messages and opens the detail with its button.
    void openDetail()
    {
        launchAndSignIn();
        ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() && rowsKept() >= 2; }));
        pass(0.5);
        tap(home()->messagesButton());
        clock->advance(1s);
        detail = std::dynamic_pointer_cast<shell::MessageInfoVC>(home()->navigationController()->topViewController());
        ASSERT_TRUE(detail);
    }

    size_t rowsKept() const
    {
        return core::DBManager::selectUserMessageQueryByUserName(account, account, watch).size()
            + core::DBManager::selectUserMessageQueryByUserName(account, account, DemoData::Watch27SerialNumber).size();
    }

    static void keepWatchVoice(const std::string& id, const std::string& fileName)
    {
        core::UserMessageQuery message;
        message.id_ = id;
        message.userName = account;
        message.from = watch;
        message.to = account;
        message.desc = core::ServiceProtocol::VoiceMarker;
        message.msgType = 3;
        message.context = fileName;
        message.createTime = base::Date::now();
        ASSERT_TRUE(core::DBManager::saveOrUpdataUserMessageQuery(message));
    }

    std::shared_ptr<chat::MessageCell> cellAt(int row)
    {
        detail->tableView()->layoutIfNeeded();
        return std::dynamic_pointer_cast<chat::MessageCell>(detail->tableView()->cellForRowAtIndexPath({ 0, row }));
    }

    size_t downloads() { return requestsTo("LumetDow.ashx"); }

    // The cell of the message with that id.
    std::shared_ptr<chat::MessageCell> cellOf(const std::string& id)
    {
        const auto& frames = detail->messageFrames();
        auto row = std::find_if(
            frames.begin(), frames.end(), [&](const auto& frame) { return frame->message()->id_ == id; });
        return row == frames.end() ? nullptr : cellAt(static_cast<int>(row - frames.begin()));
    }
    bool homePlays() const { return home()->recordAudio() && home()->recordAudio()->isPlaying(); }
    // The text of the short notice on the window; "" when none shows.
    std::string noticeOnWindow() const
    {
        std::string text;
        for (const auto& view : application->window()->subviews()) {
            if (auto notice = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
                text = notice->text();
        }
        return text;
    }

    std::shared_ptr<shell::MessageInfoVC> detail;
};

TEST_F(MessageDetail, ShowsTheCurrentDevicesKeptMessagesAsBubbles)
{
    openDetail();
    ASSERT_EQ(detail->messageFrames().size(), 1u) << "the watch's alarm; the other watch's message is not its";
    const auto& message = *detail->messageFrames()[0]->message();
    EXPECT_EQ(message.from, watch);
    EXPECT_EQ(message.context, "SOS");
    EXPECT_TRUE(detail->messageFrames()[0]->showTime());
    auto cell = cellAt(0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->contentBtn()->titleForState(ui::ControlState::Normal), "SOS");
    EXPECT_TRUE(textInRegion("SOS", { 0, 64, 320, 120 })) << "under the bar, on the left";

    // A message announced while the screen shows is read at once.
    keepWatchVoice("later", DemoData::VoiceFileName);
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::ReceiveRemoteNotification);
    EXPECT_EQ(detail->messageFrames().size(), 2u);
}

TEST_F(MessageDetail, AMessageThatArrivesWhileTheDetailShowsIsShown)
{
    openDetail();
    size_t shown = detail->messageFrames().size();
    using core::ServiceProtocol;
    service.store().queueMessage(account,
        base::Value(base::Dictionary::make({
            { ServiceProtocol::MessageIdKey, "arrived" },
            { ServiceProtocol::MessageContextKey, "SOS" },
            { ServiceProtocol::MessageDescKey, "SOS alarm" },
            { ServiceProtocol::MessageFromKey, watch },
            { ServiceProtocol::MessageToKey, account },
            { ServiceProtocol::MessageMsgTypeKey, 1 },
            { ServiceProtocol::MessageCreateTimeKey, base::serviceDateText(base::Date::now()) },
        })));
    EXPECT_TRUE(pumpUntil([&] { return detail->messageFrames().size() == shown + 1; }, 10));
}

TEST_F(MessageDetail, ALongHistoryOpensOnItsNewestPageAndScrollsBackToItsOldest)
{
    std::vector<core::PendingMessage> batch;
    base::Date start = base::Date::now().dateByAddingTimeInterval(-3600);
    for (int i = 0; i < 50; ++i) {
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = "kept" + std::to_string(i);
        message->userName = account;
        message->from = watch;
        message->to = account;
        message->desc = "note";
        message->context = "text " + std::to_string(i);
        message->msgType = 1;
        // Five a minute, so that pages end among equal times.
        message->createTime = start.dateByAddingTimeInterval(60.0 * (i / 5));
        batch.push_back({ message, core::PendingMessage::Place::MessageCentre });
    }
    ASSERT_TRUE(core::DBManager::saveIncomingMessages(batch));
    openDetail();
    auto ids = [](const auto& messages, auto id) {
        std::vector<std::string> result;
        for (const auto& message : messages)
            result.push_back(id(message).value_or("?"));
        return result;
    };
    auto frameId = [](const auto& frame) { return frame->message()->id_; };
    auto stored = ids(core::DBManager::selectUserMessageQueryByUserName(account, account, watch),
        [](const auto& message) { return message->id_; });
    ASSERT_EQ(detail->messageFrames().size(), static_cast<size_t>(chat::MessageHistory::pageSize));
    EXPECT_EQ(ids(detail->messageFrames(), frameId),
        std::vector<std::string>(stored.end() - chat::MessageHistory::pageSize, stored.end()));

    auto table = detail->tableView();
    for (int pages = 0; pages < 5 && !detail->messageFrames().empty(); ++pages) {
        size_t before = detail->messageFrames().size();
        double top = table->rectForRowAtIndexPath({ 0, 0 }).minY();
        table->setContentOffset({ 0, 0 });
        auto added = static_cast<int>(detail->messageFrames().size() - before);
        if (added == 0)
            break;
        EXPECT_DOUBLE_EQ(table->rectForRowAtIndexPath({ 0, added }).minY() - table->contentOffset().y, top);
    }
    EXPECT_EQ(ids(detail->messageFrames(), frameId), stored);
}

TEST_F(MessageDetail, AWatchVoiceRowPlaysThroughTheHomeScreensPlayerUntilTheScreenGoes)
{
    keepWatchVoice("voice", DemoData::VoiceFileName);
    openDetail();
    ASSERT_EQ(detail->messageFrames().size(), 2u);
    const auto& frames = detail->messageFrames();
    auto voiceRow = std::find_if(
        frames.begin(), frames.end(), [](const auto& frame) { return frame->message()->id_ == "voice"; });
    ASSERT_NE(voiceRow, frames.end());
    auto cell = cellAt(static_cast<int>(voiceRow - frames.begin()));
    ASSERT_TRUE(cell && cell->recoreStr());
    size_t before = downloads();

    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([this] { return home()->recordAudio() && home()->recordAudio()->isPlaying(); }));
    EXPECT_EQ(downloads(), before + 1);
    auto request = service.requestLog().requestsTo("LumetDow.ashx").back();
    EXPECT_EQ(request.queryParameters["FileName"], DemoData::VoiceFileName);
    EXPECT_TRUE(
        core::Singleton::shared().fileExist(chat::VoiceFileCache::watchVoiceCacheName(DemoData::VoiceFileName)));
    EXPECT_FALSE(cell->isPlaying()) << "the home screen plays it, not the cell";

    tap(cell->contentBtn());
    clock->advance(0s);
    EXPECT_FALSE(home()->recordAudio()->isPlaying()) << "a second tap stops it";
    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([this] { return home()->recordAudio()->isPlaying(); }));
    EXPECT_EQ(downloads(), before + 1) << "played from the message folder";

    home()->navigationController()->popViewController(false);
    clock->advance(1s);
    EXPECT_FALSE(home()->recordAudio()->isPlaying());
}

// As the chat's bubble does, the row shows that it plays: its sound-wave symbol turns while the sound plays,
// and rests when the sound ends or is stopped.
TEST_F(MessageDetail, AWatchVoiceRowAnimatesItsSymbolWhileItPlays)
{
    keepWatchVoice("voice", DemoData::VoiceFileName);
    openDetail();
    auto cell = cellOf("voice");
    ASSERT_TRUE(cell);
    auto symbol = [&] { return cell->contentBtn()->imageForState(ui::ControlState::Normal); };
    EXPECT_FALSE(cell->isAnimating());
    EXPECT_EQ(symbol(), gfx::Image::named("sound3"));

    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([this] { return homePlays(); }));
    EXPECT_TRUE(cell->isAnimating());
    EXPECT_EQ(symbol(), gfx::Image::named("sound1"));
    clock->advance(chat::MessageCell::animationStep);
    EXPECT_EQ(symbol(), gfx::Image::named("sound2"));
    ASSERT_TRUE(pumpUntil([this] { return !homePlays(); }, 60)) << "the sound ends by itself";
    EXPECT_FALSE(cell->isAnimating());
    EXPECT_EQ(symbol(), gfx::Image::named("sound3"));

    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([this] { return homePlays(); }));
    EXPECT_TRUE(cell->isAnimating());
    tap(cell->contentBtn());
    clock->advance(0s);
    EXPECT_FALSE(homePlays()) << "a second tap stops it";
    EXPECT_FALSE(cell->isAnimating());
    EXPECT_EQ(symbol(), gfx::Image::named("sound3"));
    pass(1);
    EXPECT_EQ(symbol(), gfx::Image::named("sound3"));
}

// Without a sound device the window says so, once, when a sound is first asked for, not at start.
TEST_F(MessageDetail, WithoutASoundDeviceTheWindowSaysSoOnceWhenASoundIsFirstAskedFor)
{
    base::Log::ScopedCapture capture;
    media::AudioBackend::chooseAtStartUp("no-such-device");
    keepWatchVoice("voice", DemoData::VoiceFileName);
    openDetail();
    auto cell = cellOf("voice");
    ASSERT_TRUE(cell);
    EXPECT_EQ(noticeOnWindow(), "");

    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([this] { return !noticeOnWindow().empty(); }));
    EXPECT_EQ(noticeOnWindow(), base::localized("no_sound_device"));
    pass(2.5);
    EXPECT_EQ(noticeOnWindow(), "");

    home()->stopPlay();
    tap(cell->contentBtn());
    pass(1);
    EXPECT_EQ(noticeOnWindow(), "") << "said once";
    EXPECT_EQ(media::AudioBackend::current()->name(), "null");
    auto messages = capture.messages();
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                  [](const std::string& message) { return message.find("audio:") != std::string::npos; }),
        1);
}

TEST_F(MessageDetail, ASecondTapWhileTheVoiceFileDownloadsIsTheFirstOneAgain)
{
    keepWatchVoice("voice", DemoData::VoiceFileName);
    openDetail();
    const auto& frames = detail->messageFrames();
    auto voiceRow = std::find_if(
        frames.begin(), frames.end(), [](const auto& frame) { return frame->message()->id_ == "voice"; });
    ASSERT_NE(voiceRow, frames.end());
    auto cell = cellAt(static_cast<int>(voiceRow - frames.begin()));
    ASSERT_TRUE(cell);
    size_t before = downloads();

    service.faults().set("LumetDow.ashx", tracking_service::Fault::held());
    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([&] { return downloads() == before + 1; }));
    tap(cell->contentBtn());
    service.faults().remove("LumetDow.ashx");
    ASSERT_TRUE(pumpUntil([this] { return home()->recordAudio() && home()->recordAudio()->isPlaying(); }));
    pass(0.2);
    EXPECT_TRUE(home()->recordAudio()->isPlaying()) << "not stopped by a second arrival of the file";
    EXPECT_EQ(downloads(), before + 1);
}

} // namespace
