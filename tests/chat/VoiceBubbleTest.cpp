// Voice and image bubbles: a watch's voice file is fetched once and then played from the message folder, an
// unusable download is not kept, names travel escaped, and a reused cell lets go of an animation and of a
// file name that belonged to another message.
#include "ChatFixture.h"

#include "chat/VoiceFileCache.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "kit/media/MediaFocusViewController.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/DemoVoice.h"
#include "tracking-service/Fault.h"
#include "voice/RecordAudio.h"

namespace {

using tracking_service::Fault;

class VoiceBubble : public test::ChatTest {
protected:
    std::shared_ptr<chat::MessageCell> firstCell()
    {
        chat->tableView()->layoutIfNeeded();
        return std::dynamic_pointer_cast<chat::MessageCell>(chat->tableView()->cellForRowAtIndexPath({ 0, 0 }));
    }
    size_t downloads() { return requestsTo("LumetDow.ashx"); }

    static std::shared_ptr<chat::MessageFrame> frameOf(std::shared_ptr<core::UserMessageQuery> message)
    {
        auto frame = std::make_shared<chat::MessageFrame>();
        frame->setMessage(std::move(message));
        return frame;
    }
    static std::shared_ptr<core::UserMessageQuery> watchVoice(std::string id, std::string fileName)
    {
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = std::move(id);
        message->desc = core::ServiceProtocol::VoiceMarker;
        message->msgType = 3;
        message->context = std::move(fileName);
        message->createTime = base::Date::now();
        return message;
    }
};

TEST_F(VoiceBubble, AWatchVoiceTappedTwiceIsFetchedOnceAndPlayed)
{
    openChat();
    auto cell = firstCell();
    ASSERT_TRUE(cell && cell->recoreStr());
    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([&] { return cell->isPlaying(); }));
    EXPECT_EQ(downloads(), 1u);
    auto request = service.requestLog().requestsTo("LumetDow.ashx").front();
    EXPECT_EQ(request.httpMethod, "POST");
    EXPECT_EQ(request.queryParameters["FileName"], *cell->recoreStr());
    EXPECT_TRUE(core::Singleton::shared().fileExist(chat::VoiceFileCache::watchVoiceCacheName(*cell->recoreStr())));
    EXPECT_TRUE(cell->isAnimating());

    tap(cell->contentBtn());
    pass(1);
    EXPECT_EQ(downloads(), 1u);
    EXPECT_TRUE(cell->isPlaying());
    EXPECT_FALSE(backend->outputs().empty());
}

TEST_F(VoiceBubble, AnUnusableDownloadIsNotKeptAndTheNextTapFetchesAgain)
{
    openChat();
    auto cell = firstCell();
    ASSERT_TRUE(cell && cell->recoreStr());
    std::string cacheName = chat::VoiceFileCache::watchVoiceCacheName(*cell->recoreStr());
    for (Fault fault : { Fault::nonJsonBody(), Fault::status(404), Fault::payload(base::Value("#!AMR")) }) {
        service.faults().set("LumetDow.ashx", fault);
        size_t before = downloads();
        tap(cell->contentBtn());
        ASSERT_TRUE(pumpUntil([&] { return downloads() == before + 1 && networkIdle(); }));
        pass(0.5);
        EXPECT_FALSE(core::Singleton::shared().fileExist(cacheName));
        EXPECT_FALSE(cell->isPlaying());
    }
    service.faults().clear();
    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([&] { return cell->isPlaying(); }));
    EXPECT_TRUE(core::Singleton::shared().fileExist(cacheName));
}

TEST_F(VoiceBubble, AFileNameWithReservedCharactersTravelsEscapedAndIsKeptRaw)
{
    const std::string name = "a b&c#d%e.amr";
    ASSERT_TRUE(service.store().putFile(name, tracking_service::makeDemoVoice()));
    openChat();
    auto cell = std::make_shared<chat::MessageCell>();
    cell->setMessageFrame(frameOf(watchVoice("odd", name)));
    cell->doContentBtn();
    ASSERT_TRUE(pumpUntil([&] { return cell->isPlaying(); }));
    auto request = service.requestLog().requestsTo("LumetDow.ashx").back();
    EXPECT_EQ(request.queryParameters["FileName"], name);
    EXPECT_TRUE(core::Singleton::shared().fileExist("LumetDow.ashx?FileName=" + name));
    cell->RecordStatus(voice::RecordAudio::StatusStopped);
}

TEST_F(VoiceBubble, AReusedCellStopsTheOtherMessagesAnimation)
{
    openChat();
    auto cell = firstCell();
    tap(cell->contentBtn());
    ASSERT_TRUE(pumpUntil([&] { return cell->isAnimating(); }));
    auto own = std::make_shared<core::UserMessageQuery>();
    own->id_ = "own";
    own->msgType = 5;
    own->url = "file:///nowhere/messageOWN";
    cell->setMessageFrame(frameOf(own));
    EXPECT_FALSE(cell->isAnimating());
    EXPECT_FALSE(cell->recoreStr());
    auto symbol = cell->contentBtn()->imageForState(ui::ControlState::Normal);
    EXPECT_EQ(symbol, gfx::Image::named("sound6"));
    pass(1);
    EXPECT_EQ(cell->contentBtn()->imageForState(ui::ControlState::Normal), symbol);
}

TEST_F(VoiceBubble, AnImageBubbleOpensTheViewerNeverTheVoice)
{
    openChat();
    auto context = gfx::Context::makeBitmap({ 30, 20 }, 1);
    context->setFillColor(gfx::Color::rgb(0.9, 0.2, 0.2));
    context->fillRect({ 0, 0, 30, 20 });
    auto png = context->makeImage()->pngData();
    ASSERT_FALSE(png.empty());
    ASSERT_TRUE(core::Singleton::shared().writeMessageFileName("picture1.png", png));

    auto cell = firstCell();
    auto image = std::make_shared<core::UserMessageQuery>();
    image->id_ = "image";
    image->msgType = 4;
    image->url = service.rootUrl() + "/files/picture1.png";
    cell->setMessageFrame(frameOf(image));
    EXPECT_FALSE(cell->recoreStr());
    ASSERT_TRUE(cell->image());
    cell->doContentBtn();
    EXPECT_TRUE(cell->focusViewController());
    EXPECT_FALSE(cell->isPlaying());
    EXPECT_EQ(downloads(), 0u);
    cell->focusViewController()->dismiss(false);
}

} // namespace
