// The message detail, pushed from the home screen: the current device's messages of the message tables as
// speech bubbles, one that arrives while it shows among them, and its watch voice rows played by the home screen's own
// player (fetched once into the message folder under the chat cell's cache name), stopped when the screen goes.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/time/ServiceDateText.h"
#include "chat/MessageCell.h"
#include "chat/VoiceFileCache.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/NotificationNames.h"
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
