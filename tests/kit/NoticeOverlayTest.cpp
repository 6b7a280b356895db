#include "kit/overlay/NoticeOverlay.h"
#include "kit/support/PerformBlockAfterDelay.h"

#include "OverlayTestFixture.h"
#include "gfx/images/ImageContext.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

namespace {

std::shared_ptr<gfx::Image> blankImage(gfx::Size size)
{
    gfx::ImageContext::begin(size, false, 2);
    auto image = gfx::ImageContext::image();
    gfx::ImageContext::end();
    return image;
}

class NoticeOverlayTest : public test::WidgetTest {
protected:
    std::shared_ptr<kit::NoticeOverlay> shownNotice(std::string text)
    {
        auto notice = kit::NoticeOverlay::notifyHUDWithImage(blankImage({ 37, 37 }), std::move(text));
        notice->setCenter(window->center());
        window->addSubview(notice);
        return notice;
    }
};

TEST_F(NoticeOverlayTest, BuiltInvisibleWithTheImageCentredAboveTheText)
{
    auto notice = shownNotice("Saved");
    EXPECT_EQ(notice->bounds(), (gfx::Rect { 0, 0, 130, 100 }));
    EXPECT_EQ(notice->imageView()->frame(), (gfx::Rect { 46.5, 10, 37, 37 }));
    EXPECT_EQ(notice->imageView()->contentMode(), ui::ContentMode::Center);
    // Bold 18 points: 9 points a character, lines 22.5 high, rounded up to whole points.
    EXPECT_EQ(notice->textLabel()->frame(), (gfx::Rect { 42, 53, 45, 23 }));
    EXPECT_EQ(notice->backgroundView()->frame(), (gfx::Rect { 0, 0, 130, 86 }));
    EXPECT_EQ(notice->imageView()->alpha(), 0);
    EXPECT_EQ(notice->textLabel()->alpha(), 0);
    EXPECT_EQ(notice->backgroundView()->backgroundColor(), gfx::Color::black().withAlpha(0));
    EXPECT_EQ(notice->backgroundView()->layer()->cornerRadius(), 10);
    EXPECT_EQ(notice->backgroundView()->layer()->borderWidth(), 1);
    ASSERT_EQ(notice->subviews().size(), 3u);
    EXPECT_EQ(notice->subviews()[0], notice->backgroundView());
    EXPECT_FALSE(notice->isAnimating());
}

TEST_F(NoticeOverlayTest, SeveralLinesMakeTheBoxTallerThanTheNotice)
{
    auto notice = shownNotice("Your settings were saved on the watch");
    EXPECT_EQ(notice->textLabel()->frame(), (gfx::Rect { -57, 53, 243, 45 }));
    EXPECT_EQ(notice->backgroundView()->frame().height(), 108);
    EXPECT_EQ(notice->bounds().size, (gfx::Size { 130, 100 }));
}

// A text that does not fit the notice's width on one line widens the box, centred on the notice, rather than
// breaking a word a line; past the widest box it wraps.
TEST_F(NoticeOverlayTest, TheBoxWidensToHoldItsText)
{
    const struct {
        const char* text;
        double boxWidth;
        double labelHeight;
    } cases[] = { { "Saved", 130, 23 }, { "The network is unavailable", 254, 23 },
        { "Your settings were saved on the watch", 263, 45 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto notice = shownNotice(c.text);
        gfx::Rect box = notice->backgroundView()->frame();
        gfx::Rect label = notice->textLabel()->frame();
        EXPECT_EQ(box.width(), c.boxWidth);
        EXPECT_EQ(box.midX(), 65);
        EXPECT_EQ(label.height(), c.labelHeight);
        EXPECT_NEAR(label.midX(), 65, 0.5);
        EXPECT_LE(box.minX(), label.minX());
        EXPECT_LE(label.maxX(), box.maxX());
    }
}

TEST_F(NoticeOverlayTest, WithoutAnImageTheTextStartsSixPointsFromTheTop)
{
    auto notice = kit::NoticeOverlay::notifyHUDWithImage(nullptr, "Failed");
    EXPECT_EQ(notice->imageView()->frame(), gfx::Rect {});
    EXPECT_EQ(notice->textLabel()->frame().minY(), 6);
}

TEST_F(NoticeOverlayTest, PresentationFadesInStaysAndFadesOutThenCompletes)
{
    auto notice = shownNotice("Saved");
    int completions = 0;
    notice->presentWithDuration(1.0, 0.5, [&] { ++completions; });
    EXPECT_TRUE(notice->isAnimating());
    EXPECT_EQ(notice->currentOpacity(), 0.75);
    advance(1.49);
    EXPECT_EQ(notice->currentOpacity(), 0.75);
    advance(0.01);
    EXPECT_EQ(notice->currentOpacity(), 0);
    advance(0.49);
    EXPECT_EQ(completions, 0);
    EXPECT_TRUE(notice->isAnimating());
    advance(0.01);
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(notice->isAnimating());
    EXPECT_EQ(notice->superview(), window);
}

TEST_F(NoticeOverlayTest, ZeroDurationFadesOutRightAfterFadingIn)
{
    auto notice = shownNotice("Saved");
    notice->presentWithDuration(0, 0.5, {});
    advance(0.5);
    EXPECT_EQ(notice->currentOpacity(), 0);
    advance(0.5);
    EXPECT_FALSE(notice->isAnimating());
}

TEST_F(NoticeOverlayTest, InterruptedFadeInEndsTheSequenceSilently)
{
    auto notice = shownNotice("Saved");
    int completions = 0;
    notice->presentWithDuration(1.0, 0.5, [&] { ++completions; });
    advance(0.2);
    ui::View::animateWithDuration(0.1, [&] { notice->setCurrentOpacity(0.5); });
    advance(3);
    EXPECT_EQ(completions, 0);
    EXPECT_TRUE(notice->isAnimating());
    EXPECT_EQ(notice->currentOpacity(), 0.5);
}

TEST_F(NoticeOverlayTest, TextChangeRefitsTheLabelAndTheBoxFollowsAtLayout)
{
    auto notice = shownNotice("Saved");
    notice->setText("Not saved");
    EXPECT_EQ(notice->textLabel()->frame(), (gfx::Rect { 24, 53, 81, 23 }));
    notice->setText("Your settings were saved on the watch");
    EXPECT_EQ(notice->backgroundView()->frame().height(), 86);
    turn();
    EXPECT_EQ(notice->backgroundView()->frame().height(), 108);
}

TEST_F(NoticeOverlayTest, DelayedBlockWithZeroDelayRunsOnTheNextTurn)
{
    auto receiver = std::make_shared<int>(0);
    std::weak_ptr<int> watch = receiver;
    bool ran = false;
    kit::performBlockAfterDelay(
        receiver, [&] { ran = true; }, 0);
    receiver.reset();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(watch.expired());
    turn();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(watch.expired());
}

} // namespace
