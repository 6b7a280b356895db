#include "kit/overlay/Toast.h"

#include "OverlayTestFixture.h"
#include "base/system/Log.h"
#include "gfx/images/ImageContext.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"

namespace {

class ToastTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        host = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 480 });
        window->addSubview(host);
    }
    void TearDown() override
    {
        // Let every toast run its course.
        advance(10);
        test::WidgetTest::TearDown();
    }

    std::shared_ptr<ui::View> toastOfHeight(double height)
    {
        return std::make_shared<ui::View>(gfx::Rect { 0, 0, 100, height });
    }

    static std::shared_ptr<gfx::Image> photo()
    {
        gfx::ImageContext::begin({ 40, 30 }, false, 1);
        auto image = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return image;
    }

    std::shared_ptr<ui::View> host;
};

TEST_F(ToastTest, NamedPositionsIgnoreCase)
{
    auto toast = toastOfHeight(60);
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, std::string("bottom"), *toast), (gfx::Point { 160, 440 }));
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, std::string("TOP"), *toast), (gfx::Point { 160, 40 }));
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, std::string("Center"), *toast), (gfx::Point { 160, 240 }));
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, gfx::Point { 12, 34 }, *toast), (gfx::Point { 12, 34 }));
}

TEST_F(ToastTest, UnknownOrMissingPositionWarnsAndUsesTheBottom)
{
    auto toast = toastOfHeight(60);
    base::Log::ScopedCapture log;
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, std::monostate {}, *toast), (gfx::Point { 160, 440 }));
    EXPECT_EQ(kit::Toast::centerPointForPosition(*host, std::string("middle"), *toast), (gfx::Point { 160, 440 }));
    EXPECT_EQ(log.messages().size(), 2u);
    EXPECT_TRUE(log.contains("Warning: Invalid position for toast."));
}

TEST_F(ToastTest, MessageOnlyPanelWrapsWithinFourFifthsOfTheView)
{
    // System 16: 8 points a character, lines 20 high; 40 characters wrap at 256 points.
    std::string message = "aaaa bbbb cccc dddd eeee ffff gggg hhhh";
    auto panel = kit::Toast::viewForMessage(*host, message, std::nullopt, nullptr);
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->subviews().size(), 1u);
    auto label = std::dynamic_pointer_cast<ui::Label>(panel->subviews()[0]);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->frame(), (gfx::Rect { 10, 10, 232, 40 }));
    EXPECT_EQ(panel->frame(), (gfx::Rect { 0, 0, 252, 60 }));
    EXPECT_EQ(panel->autoresizingMask(), 45u);
    EXPECT_EQ(panel->layer()->cornerRadius(), 10);
    EXPECT_EQ(panel->layer()->shadowOffset(), (gfx::Size { 4, 4 }));
    EXPECT_EQ(panel->backgroundColor(), gfx::Color::black().withAlpha(0.8));
}

TEST_F(ToastTest, ImageTitleAndMessageStackBesideTheImage)
{
    auto panel = kit::Toast::viewForMessage(*host, std::string("Sent"), std::string("Voice"), photo());
    ASSERT_EQ(panel->subviews().size(), 3u);
    auto title = panel->subviews()[0];
    auto message = panel->subviews()[1];
    auto image = std::dynamic_pointer_cast<ui::ImageView>(panel->subviews()[2]);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->frame(), (gfx::Rect { 10, 10, 80, 80 }));
    EXPECT_EQ(image->contentMode(), ui::ContentMode::ScaleAspectFit);
    EXPECT_EQ(title->frame(), (gfx::Rect { 100, 10, 40, 20 }));
    EXPECT_EQ(message->frame(), (gfx::Rect { 100, 40, 32, 20 }));
    EXPECT_EQ(panel->frame(), (gfx::Rect { 0, 0, 150, 100 }));
}

TEST_F(ToastTest, TextBesideAnImageIsLimitedToTheRestOfTheWidth)
{
    auto panel = kit::Toast::viewForMessage(*host, std::string(50, 'm'), std::nullopt, photo());
    auto message = panel->subviews()[0];
    EXPECT_EQ(message->frame().minX(), 100);
    EXPECT_EQ(message->frame().width(), 176);
}

TEST_F(ToastTest, TitleAloneMakesAPanelTwentyPointsHigh)
{
    auto panel = kit::Toast::viewForMessage(*host, std::nullopt, std::string("A title that wraps over lines"), nullptr);
    EXPECT_EQ(panel->frame().height(), 20);
}

TEST_F(ToastTest, NothingToShowShowsNothing)
{
    EXPECT_FALSE(kit::Toast::viewForMessage(*host, std::nullopt, std::nullopt, nullptr));
    kit::Toast::makeToast(host, std::nullopt);
    EXPECT_TRUE(host->subviews().empty());
}

TEST_F(ToastTest, ToastFadesInStaysFadesOutAndLeaves)
{
    kit::Toast::makeToast(host, std::string("Saved"), 1.0, std::string("top"));
    ASSERT_EQ(host->subviews().size(), 1u);
    auto toast = host->subviews()[0];
    // A 40-point panel: 20 for the line and 10 above and below it.
    EXPECT_EQ(toast->center(), (gfx::Point { 160, 30 }));
    EXPECT_EQ(toast->alpha(), 1.0);
    advance(0.2);
    EXPECT_EQ(toast->alpha(), 0);
    EXPECT_EQ(toast->superview(), host);
    advance(1.19);
    EXPECT_EQ(toast->superview(), host);
    advance(0.01);
    EXPECT_FALSE(toast->superview());
}

TEST_F(ToastTest, ZeroDurationToastIsGoneAfterBothFades)
{
    kit::Toast::makeToast(host, std::string("Saved"), 0);
    auto toast = host->subviews()[0];
    advance(0.39);
    EXPECT_EQ(toast->superview(), host);
    advance(0.01);
    EXPECT_FALSE(toast->superview());
}

TEST_F(ToastTest, OneActivityToastPerViewUntilHidden)
{
    kit::Toast::makeToastActivity(host);
    auto panel = kit::Toast::activityToast(*host);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->frame(), (gfx::Rect { 110, 190, 100, 100 }));
    auto spinner = std::dynamic_pointer_cast<ui::ActivityIndicatorView>(panel->subviews().at(0));
    ASSERT_TRUE(spinner);
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->center(), (gfx::Point { 50, 50 }));
    kit::Toast::makeToastActivity(host, std::string("top"));
    EXPECT_EQ(host->subviews().size(), 1u);

    kit::Toast::hideToastActivity(host);
    advance(0.2);
    EXPECT_FALSE(panel->superview());
    EXPECT_FALSE(kit::Toast::activityToast(*host));
    kit::Toast::hideToastActivity(host);
    kit::Toast::makeToastActivity(host);
    EXPECT_NE(kit::Toast::activityToast(*host), panel);
}

} // namespace
