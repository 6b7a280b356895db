// Where a bubble's parts go, what kind of content it shows, and the time text of its time line.
#include "chat/MessageFrame.h"

#include "base/ClockFixture.h"
#include "base/time/DateFormatter.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "core/service/ServiceProtocol.h"
#include "gfx/text/Font.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/view/Screen.h"

#include <limits>

namespace {

class MessageFrameTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    }

    static std::shared_ptr<core::UserMessageQuery> message(
        int64_t type, std::optional<std::string> desc = {}, std::optional<std::string> context = {})
    {
        auto made = std::make_shared<core::UserMessageQuery>();
        made->msgType = type;
        made->desc = std::move(desc);
        made->context = std::move(context);
        return made;
    }
    static chat::MessageFrame frameOf(std::shared_ptr<core::UserMessageQuery> shown, bool showTime = false)
    {
        chat::MessageFrame frame;
        frame.setShowTime(showTime);
        frame.setMessage(std::move(shown));
        return frame;
    }
    static base::Date at(const char* localTime)
    {
        return *base::DateFormatter("yyyy/MM/dd HH:mm").dateFromString(localTime);
    }
};

TEST_F(MessageFrameTest, AnOwnTextSitsOnTheRightSizedToItsOneLine)
{
    auto frame = frameOf(message(3, std::nullopt, "Hi"));
    gfx::Size text = gfx::sizeWithFont(
        "Hi", gfx::Font::system(16), { 180, std::numeric_limits<double>::max() }, gfx::LineBreakMode::WordWrap);
    EXPECT_EQ(frame.iconF(), gfx::Rect(270, 10, 40, 40));
    EXPECT_EQ(frame.contentF(), gfx::Rect(260 - text.width - 40, 10, text.width + 40, text.height + 25));
    EXPECT_EQ(frame.timeF(), gfx::Rect());
    EXPECT_DOUBLE_EQ(frame.cellHeight(), std::max(frame.contentF().maxY(), 50.0) + 10);
}

TEST_F(MessageFrameTest, AMessageFromTheWatchSitsOnTheLeftBelowItsTimeLine)
{
    auto watchVoice = message(3, core::ServiceProtocol::VoiceMarker, "f.amr");
    watchVoice->createTime = base::Date::now();
    auto frame = frameOf(watchVoice, true);
    ASSERT_GT(frame.timeF().height(), 10);
    EXPECT_DOUBLE_EQ(frame.timeF().minY(), 10);
    EXPECT_DOUBLE_EQ(frame.timeF().midX() - 7.5, 160);
    EXPECT_EQ(frame.iconF(), gfx::Rect(10, frame.timeF().maxY() + 10, 40, 40));
    EXPECT_EQ(frame.contentF(), gfx::Rect(60, frame.iconF().minY(), 80, 45));
    EXPECT_DOUBLE_EQ(frame.cellHeight(), frame.iconF().minY() + 55);
}

TEST_F(MessageFrameTest, LongTextsWrapAt180Points)
{
    std::string text(200, 'w');
    auto frame = frameOf(message(3, std::nullopt, text));
    EXPECT_LE(frame.contentF().width(), 180 + 40);
    EXPECT_GT(frame.contentF().height(), 2 * 16 + 25);
    EXPECT_DOUBLE_EQ(frame.cellHeight(), frame.contentF().maxY() + 10);
}

TEST_F(MessageFrameTest, KindsFollowTheTypeAndTheVoiceMarker)
{
    EXPECT_EQ(chat::kindOf(*message(5)), chat::MessageKind::OwnVoice);
    EXPECT_EQ(chat::kindOf(*message(5, "anything")), chat::MessageKind::OwnVoice);
    EXPECT_EQ(chat::kindOf(*message(4)), chat::MessageKind::Image);
    EXPECT_EQ(chat::kindOf(*message(1, core::ServiceProtocol::VoiceMarker)), chat::MessageKind::WatchVoice);
    EXPECT_EQ(chat::kindOf(*message(2, "note")), chat::MessageKind::Text);
    EXPECT_EQ(chat::kindOf(*message(7)), chat::MessageKind::Nothing);
    EXPECT_EQ(frameOf(message(7)).contentF().size, gfx::Size(80, 65));
    EXPECT_FALSE(chat::isFromServer(*message(3, "")));
    EXPECT_TRUE(chat::isFromServer(*message(3, " ")));
}

TEST_F(MessageFrameTest, DaysAreWholeElapsedPeriodsOf24Hours)
{
    base::Date sent = at("2026/12/07 23:50");
    base::Date justAfterMidnight = at("2026/12/08 00:10");
    EXPECT_EQ(chat::messageTimeText(sent, justAfterMidnight), "23:50");
    EXPECT_EQ(chat::messageTimeText(sent, at("2026/12/09 00:10")),
        base::LocalizedFormat::format(base::localized("message_time"), { "23:50" }));
    EXPECT_EQ(chat::messageTimeText(sent, at("2026/12/10 23:55")),
        base::DateFormatter(base::localized("message_date")).stringFromDate(sent) + " 23:50");
}

TEST_F(MessageFrameTest, AMessageWithoutTimeHasAnEmptyTimeText)
{
    EXPECT_EQ(chat::messageTimeText(std::nullopt, base::Date::now()), "");
    EXPECT_EQ(chat::clockText(std::nullopt), "");
    auto frame = frameOf(message(3, std::nullopt, "x"), true);
    EXPECT_DOUBLE_EQ(frame.timeF().minY(), 10);
}

} // namespace
