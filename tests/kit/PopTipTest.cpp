// The pop tip on the manual clock with fixed text metrics (a 10-point character is 5 points wide and a line
// 15 points high): frame, arrow and anchor per direction, clamping at the container's edges, the show and
// hide state machine, the hide timer, taps and the order of the handlers, and a picture of it.
#include "kit/popover/PopTip.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "host/HeadlessHost.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/input/TouchDriver.h"

#include <filesystem>

namespace {

class PopTipTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        screen = std::make_shared<ui::View>(ui::Screen::main().bounds());
        window->addSubview(screen);
        tip->setFont(gfx::Font::system(10));
    }

    // Animations still running hold what they animate; letting them end leaves nothing behind.
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    // Shows the ten-character text (50 x 15 points) and lets the layout pass place the tip.
    void showAt(int direction, const gfx::Rect& from, double maxWidth = 1000)
    {
        tip->showText("abcdefghij", direction, maxWidth, screen, from);
        turn();
    }

    gfx::TextMeasurer::Override metrics { std::make_shared<gfx::FixedTextMeasurer>(0.5, 1.5) };
    std::shared_ptr<ui::View> screen;
    std::shared_ptr<kit::PopTip> tip = kit::PopTip::popTip();
    ui::TouchDriver finger;
};

TEST_F(PopTipTest, DefaultTipAboveAFrame)
{
    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    EXPECT_EQ(tip->frame(), (gfx::Rect { 89, 165, 62, 35 }));
    EXPECT_EQ(tip->arrowPosition(), (gfx::Point { 31, 35 }));
    EXPECT_EQ(tip->layer()->anchorPoint(), (gfx::Point { 0.5, 1 }));
    EXPECT_EQ(tip->textBounds(), (gfx::Rect { 6, 6, 50, 15 }));
    EXPECT_EQ(tip->superview(), screen);
    EXPECT_EQ(tip->accessibilityLabel(), "abcdefghij");
}

TEST_F(PopTipTest, FrameArrowAndAnchorForTheOtherDirections)
{
    struct Case {
        int direction;
        gfx::Rect frame;
        gfx::Point arrow;
        gfx::Point anchor;
        gfx::Point textOrigin;
    };
    const Case cases[] = {
        { kit::PopTip::Down, { 89, 220, 62, 35 }, { 31, 0 }, { 0.5, 0 }, { 6, 14 } },
        { kit::PopTip::Left, { 30, 196.5, 70, 27 }, { 70, 13.5 }, { 1, 0.5 }, { 6, 6 } },
        { kit::PopTip::Right, { 140, 196.5, 70, 27 }, { 0, 13.5 }, { 0, 0.5 }, { 14, 6 } },
        { kit::PopTip::None, { 89, 196.5, 62, 27 }, { 0, 0 }, { 0.5, 0.5 }, { 6, 6 } },
    };
    for (const Case& c : cases) {
        showAt(c.direction, { 100, 200, 40, 20 });
        EXPECT_EQ(tip->frame(), c.frame) << "direction " << c.direction;
        EXPECT_EQ(tip->arrowPosition(), c.arrow) << "direction " << c.direction;
        EXPECT_EQ(tip->layer()->anchorPoint(), c.anchor) << "direction " << c.direction;
        EXPECT_EQ(tip->textBounds().origin, c.textOrigin) << "direction " << c.direction;
    }
}

TEST_F(PopTipTest, BorderGrowsTheFrameAndOffsetMovesTheTipAwayFromTheFrame)
{
    tip->setBorderWidth(2);
    tip->setOffset(3);
    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    EXPECT_EQ(tip->frame(), (gfx::Rect { 89, 162, 66, 39 }));
    EXPECT_EQ(tip->arrowPosition(), (gfx::Point { 31, 39 }));

    showAt(kit::PopTip::Down, { 100, 200, 40, 20 });
    EXPECT_EQ(tip->frame().minY(), 223);
    EXPECT_EQ(tip->arrowPosition().y, 0);
}

TEST_F(PopTipTest, ClassScheduleTipToTheRight)
{
    tip->setEdgeMargin(5);
    tip->setOffset(2);
    tip->setEdgeInsets({ 0, 10, 0, 10 });
    gfx::Rect from { 0, 300, 320 / 5.5 * 0.5, 50 };
    gfx::AttributedString time("08:00-08:45", { gfx::Font::named("Avenir-Medium", 18), gfx::Color::black(), {} });
    tip->showAttributedTextWithDuration(time, kit::PopTip::Right, 120, screen, from, 0);
    turn();
    EXPECT_EQ(tip->maxWidth(), 120);
    EXPECT_DOUBLE_EQ(tip->frame().minX(), from.maxX() + 2);
    EXPECT_EQ(tip->textBounds(), (gfx::Rect { 24, 6, 99, 27 }));
    EXPECT_EQ(tip->frame().size, (gfx::Size { 139, 39 }));
    EXPECT_FALSE(tip->dismissTimer());
    EXPECT_EQ(tip->accessibilityLabel(), "08:00-08:45");
}

TEST_F(PopTipTest, KeepsInsideTheContainer)
{
    tip->setEdgeMargin(5);
    // x would be -3: the margin; +3 stays although it is closer than the margin.
    showAt(kit::PopTip::Up, { 8, 200, 40, 20 });
    EXPECT_EQ(tip->frame().minX(), 5);
    showAt(kit::PopTip::Up, { 14, 200, 40, 20 });
    EXPECT_EQ(tip->frame().minX(), 3);
    showAt(kit::PopTip::Down, { 290, 200, 40, 20 });
    EXPECT_EQ(tip->frame().minX(), 320 - 62 - 5);
    showAt(kit::PopTip::Right, { 100, 0, 40, 10 });
    EXPECT_EQ(tip->frame().minY(), 5);
    showAt(kit::PopTip::Left, { 100, 560, 40, 10 });
    EXPECT_EQ(tip->frame().minY(), 568 - 27 - 5);
    // Centred tips are not clamped.
    showAt(kit::PopTip::None, { 0, 0, 10, 10 });
    EXPECT_EQ(tip->frame().origin, (gfx::Point { -26, -8.5 }));
}

TEST_F(PopTipTest, TextWidthLimitNeverGoesBelowZeroNearAnEdge)
{
    showAt(kit::PopTip::Left, { 10, 200, 40, 20 });
    EXPECT_EQ(tip->maxWidth(), 0);
    EXPECT_GE(tip->textBounds().width(), 0);
    showAt(kit::PopTip::Right, { 290, 200, 25, 20 });
    EXPECT_EQ(tip->maxWidth(), 0);
}

TEST_F(PopTipTest, RoundedTipTakesHalfItsBodyHeightAsRadius)
{
    tip->setRounded(true);
    tip->setEdgeInsets({ 5, 0, 0, 0 });
    showAt(kit::PopTip::Down, { 100, 200, 40, 20 });
    ASSERT_EQ(tip->frame().height(), 40);
    EXPECT_EQ(tip->radius(), 16);

    showAt(kit::PopTip::Right, { 100, 200, 40, 20 });
    turn();
    EXPECT_EQ(tip->radius(), tip->frame().height() * 0.5);
}

TEST_F(PopTipTest, OneTapRecognizerHowEverOftenItIsLaidOut)
{
    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    tip->setFromFrame({ 120, 220, 40, 20 });
    tip->setFromFrame({ 140, 240, 40, 20 });
    tip->updateText("a longer text");
    turn();
    EXPECT_EQ(tip->frame().width(), 65 + 12);
    showAt(kit::PopTip::Down, { 100, 200, 40, 20 });
    ASSERT_EQ(tip->gestureRecognizers().size(), 1u);
    EXPECT_EQ(tip->gestureRecognizers().front(), tip->gestureRecognizer());
}

TEST_F(PopTipTest, ShowsThenHidesWithHandlersOnlyForFinishedAnimations)
{
    int appeared = 0;
    int dismissed = 0;
    tip->setAppearHandler([&] { ++appeared; });
    tip->setDismissHandler([&] { ++dismissed; });

    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    EXPECT_TRUE(tip->isVisible());
    EXPECT_FALSE(tip->removeGesture()->view());
    advance(0.41);
    EXPECT_EQ(appeared, 1);
    EXPECT_EQ(tip->removeGesture()->view(), screen);

    tip->hide();
    EXPECT_FALSE(tip->removeGesture()->view());
    advance(0.1);
    // A second hide restarts from where the first had got to; the first one's end is skipped.
    tip->hide();
    advance(0.15);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->superview(), screen);
    advance(0.06);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_FALSE(tip->superview());
    EXPECT_TRUE(tip->transform().isIdentity());
    EXPECT_EQ(dismissed, 1);

    // Hidden already: nothing happens.
    tip->hide();
    advance(1);
    EXPECT_EQ(dismissed, 1);
}

TEST_F(PopTipTest, HideDuringTheSpringSkipsTheAppearSteps)
{
    int appeared = 0;
    tip->setAppearHandler([&] { ++appeared; });
    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    advance(0.2);
    tip->hide();
    advance(1);
    EXPECT_EQ(appeared, 0);
    EXPECT_FALSE(tip->removeGesture()->view());
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(PopTipTest, TimerHidesAfterTheDurationAndEachTimedShowReplacesIt)
{
    tip->showTextWithDuration("abc", kit::PopTip::Up, 100, screen, { 100, 200, 40, 20 }, 0);
    EXPECT_FALSE(tip->dismissTimer());

    tip->showTextWithDuration("abc", kit::PopTip::Up, 100, screen, { 100, 200, 40, 20 }, 2);
    ASSERT_TRUE(tip->dismissTimer());
    advance(1);
    tip->showTextWithDuration("abc", kit::PopTip::Up, 100, screen, { 100, 200, 40, 20 }, 5);
    advance(1.5);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->superview(), screen);
    advance(3.8);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_FALSE(tip->dismissTimer());

    // A hide by hand drops a pending timer.
    tip->showTextWithDuration("abc", kit::PopTip::Up, 100, screen, { 100, 200, 40, 20 }, 2);
    advance(0.5);
    tip->hide();
    EXPECT_FALSE(tip->dismissTimer());
}

TEST_F(PopTipTest, TapOnTheTipCallsTheTapHandlerAndHidesFirstWhenAsked)
{
    std::vector<std::string> events;
    bool containerTapStillAttached = true;
    tip->setTapHandler([&] {
        events.push_back("tap");
        containerTapStillAttached = tip->removeGesture()->view() != nullptr;
    });
    tip->setDismissHandler([&] { events.push_back("dismiss"); });

    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    advance(0.5);
    finger.tap({ 120, 180 });
    advance(1);
    EXPECT_EQ(events, (std::vector<std::string> { "tap" }));
    EXPECT_TRUE(tip->isVisible());

    tip->setShouldDismissOnTap(true);
    finger.tap({ 120, 180 });
    EXPECT_FALSE(containerTapStillAttached);
    advance(0.5);
    EXPECT_EQ(events, (std::vector<std::string> { "tap", "tap", "dismiss" }));
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(PopTipTest, TapElsewhereInTheContainerHidesUnlessSwitchedOff)
{
    tip->setShouldDismissOnTapOutside(false);
    showAt(kit::PopTip::Up, { 100, 200, 40, 20 });
    advance(0.5);
    finger.tap({ 160, 450 });
    advance(0.5);
    EXPECT_TRUE(tip->isVisible());

    tip->setShouldDismissOnTapOutside(true);
    finger.tap({ 160, 450 });
    advance(0.5);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_FALSE(tip->superview());
}

TEST_F(PopTipTest, AppearanceFontReachesEveryTipEnteringAWindow)
{
    struct Reset {
        ~Reset() { kit::PopTip::setAppearanceFont(std::nullopt); }
    } reset;
    kit::PopTip::setAppearanceFont(gfx::Font::named("Avenir-Medium", 12));
    auto other = kit::PopTip::popTip();
    EXPECT_EQ(other->font(), gfx::Font::system(gfx::Font::systemFontSize()));
    other->showText("abc", kit::PopTip::Up, 100, screen, { 100, 200, 40, 20 });
    EXPECT_EQ(other->font(), gfx::Font::named("Avenir-Medium", 12));
}

TEST_F(PopTipTest, Snapshot)
{
    gfx::TextMeasurer::Override realText { nullptr };
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    screen->setBackgroundColor(gfx::Color::fromWhite(0.95, 1));
    struct Shown {
        int direction;
        gfx::Rect from;
        const char* text;
    };
    const Shown shown[] = {
        { kit::PopTip::Up, { 40, 120, 60, 30 }, "Up above" },
        { kit::PopTip::Down, { 200, 120, 60, 30 }, "Down below" },
        { kit::PopTip::Left, { 230, 260, 60, 30 }, "To the left" },
        { kit::PopTip::Right, { 20, 340, 60, 30 }, "To the right" },
        { kit::PopTip::None, { 130, 440, 60, 30 }, "Centred" },
    };
    std::vector<std::shared_ptr<kit::PopTip>> tips;
    for (const auto& s : shown) {
        auto marker = std::make_shared<ui::View>(s.from);
        marker->setBackgroundColor(gfx::Color::rgb(0.6, 0.75, 0.9));
        screen->addSubview(marker);
        auto shownTip = kit::PopTip::popTip();
        shownTip->setFont(gfx::Font::named("Avenir-Medium", 12));
        shownTip->setTextColor(gfx::Color::white());
        shownTip->setRounded(s.direction == kit::PopTip::None);
        shownTip->setBorderWidth(s.direction == kit::PopTip::Down ? 1 : 0);
        shownTip->showText(s.text, s.direction, 120, screen, s.from);
        tips.push_back(shownTip);
    }
    auto white = kit::PopTip::popTip();
    white->setPopoverColor(gfx::Color::white());
    white->setEdgeInsets({ 0, 10, 0, 10 });
    white->setOffset(2);
    white->showAttributedText(gfx::AttributedString("08:00-08:45",
                                  { gfx::Font::named("Avenir-Medium", 18), gfx::Color::rgb(0.22, 0.72, 0.85), {} }),
        kit::PopTip::Right, 120, screen, { 0, 500, 320 / 5.5 * 0.5, 50 });
    advance(0.5);
    auto path = host.writeFrame("kit-pop-tip");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // Each bubble is drawn red on its side of the marker: above, below, left of and right of it.
    const gfx::Color red = gfx::Color::red();
    EXPECT_TRUE(test::shows(*screen, { 70 - 20, 120 - 12 }, red));
    EXPECT_TRUE(test::shows(*screen, { 230 - 20, 150 + 14 }, red));
    EXPECT_TRUE(test::shows(*screen, { 230 - 14, 275 - 8 }, red));
    EXPECT_TRUE(test::shows(*screen, { 80 + 14, 355 - 8 }, red));
    EXPECT_TRUE(test::shows(*screen, { 5, 5 }, gfx::Color::fromWhite(0.95, 1)));
    EXPECT_TRUE(
        test::shows(*white, { white->bounds().width() - 5, white->bounds().height() / 2 }, gfx::Color::white()));
}

} // namespace
