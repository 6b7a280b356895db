#include "kit/modal/ModalPresenter.h"

#include "OverlayTestFixture.h"
#include "base/loop/NotificationCenter.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/input/TouchDriver.h"

#include <algorithm>

namespace {

class ModalPresenterTest : public test::WidgetTest {
protected:
    void TearDown() override
    {
        presenter->hideAnimated(false);
        presenter->setTapOutsideToDismiss(true);
        presenter->setAnimateWhenDismissed(true);
        presenter->setShowCloseButton(false);
        presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::RadialGradient);
        // Let the pop animations of the test end before the next one.
        advance(1);
        test::WidgetTest::TearDown();
    }

    static bool onScreen(const std::shared_ptr<ui::Window>& window)
    {
        auto windows = ui::Application::shared().windows();
        return window && !window->isHidden() && std::find(windows.begin(), windows.end(), window) != windows.end();
    }

    static bool anyModalWindow()
    {
        auto windows = ui::Application::shared().windows();
        return std::any_of(windows.begin(), windows.end(), [](const auto& window) {
            return std::dynamic_pointer_cast<kit::ModalPresenterViewController>(window->rootViewController())
                != nullptr;
        });
    }

    std::shared_ptr<ui::View> content(gfx::Size size = { 200, 100 })
    {
        return std::make_shared<ui::View>(gfx::Rect { { 5, 5 }, size });
    }

    const std::shared_ptr<kit::ModalPresenter>& presenter = kit::ModalPresenter::sharedInstance();
    ui::TouchDriver finger;
};

TEST_F(ModalPresenterTest, ContentSitsInAContainerCentredInAWindowOfItsOwn)
{
    auto panel = content();
    presenter->showWithContentView(panel, true);
    auto window = presenter->window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->frame(), ui::Screen::main().bounds());
    EXPECT_EQ(presenter->containerView()->frame(), (gfx::Rect { 43, 217, 234, 134 }));
    EXPECT_EQ(panel->frame(), (gfx::Rect { 17, 17, 200, 100 }));
    EXPECT_EQ(panel->superview(), presenter->containerView());
    EXPECT_EQ(presenter->containerView()->superview(), presenter->viewController()->view());
    EXPECT_EQ(presenter->closeButton()->frame(), (gfx::Rect { 0, 0, 32, 32 }));
    EXPECT_TRUE(presenter->closeButton()->isHidden());
    EXPECT_EQ(presenter->contentView(), nullptr);
    // The window shows on the next turn, not while the caller is still handling its event.
    EXPECT_FALSE(onScreen(window));
    turn();
    EXPECT_TRUE(onScreen(window));
    EXPECT_FALSE(window->isKeyWindow());
}

TEST_F(ModalPresenterTest, AnimatedShowPopsInThenSettles)
{
    presenter->showWithContentView(content(), true);
    turn();
    auto container = presenter->containerView();
    auto background = presenter->viewController()->styleView();
    EXPECT_EQ(background->alpha(), 1);
    EXPECT_EQ(container->alpha(), 1);
    EXPECT_EQ(container->transform(), gfx::AffineTransform::makeScale(1.1, 1.1));
    EXPECT_TRUE(container->layer()->shouldRasterize());
    advance(0.2);
    EXPECT_EQ(container->transform(), gfx::AffineTransform::makeScale(1.0, 1.0));
    advance(0.1);
    EXPECT_FALSE(container->layer()->shouldRasterize());
}

TEST_F(ModalPresenterTest, BackgroundTapHidesWithThePopOut)
{
    presenter->showWithContentView(content(), true);
    advance(0.3);
    auto window = presenter->window();
    finger.tap({ 10, 10 });
    EXPECT_EQ(presenter->containerView()->transform(), gfx::AffineTransform::makeScale(1.1, 1.1));
    advance(0.1);
    EXPECT_EQ(presenter->containerView()->alpha(), 0);
    EXPECT_TRUE(onScreen(window));
    advance(0.2);
    EXPECT_FALSE(presenter->window());
    EXPECT_FALSE(onScreen(window));
    EXPECT_FALSE(presenter->containerView()->superview());
    // The parts stay until the next show.
    EXPECT_TRUE(presenter->viewController());
}

TEST_F(ModalPresenterTest, BackgroundTapIsIgnoredWhenTapsMayNotDismiss)
{
    presenter->setTapOutsideToDismiss(false);
    presenter->showWithContentView(content(), true);
    turn();
    finger.tap({ 10, 10 });
    advance(1);
    EXPECT_TRUE(onScreen(presenter->window()));
}

TEST_F(ModalPresenterTest, TapsInsideTheContentDoNotClose)
{
    presenter->showWithContentView(content(), false);
    turn();
    finger.tap({ 160, 284 });
    advance(1);
    EXPECT_TRUE(onScreen(presenter->window()));
}

TEST_F(ModalPresenterTest, CloseButtonAtTheTopLeftCornerHides)
{
    presenter->setShowCloseButton(true);
    presenter->showWithContentView(content(), false);
    turn();
    EXPECT_FALSE(presenter->closeButton()->isHidden());
    finger.tap({ 43 + 16, 217 + 16 });
    advance(0.3);
    EXPECT_FALSE(presenter->window());
}

TEST_F(ModalPresenterTest, HideWithoutAnimationRemovesTheWindowAtOnce)
{
    presenter->showWithContentView(content(), true);
    turn();
    auto window = presenter->window();
    presenter->hideAnimated(false);
    EXPECT_FALSE(onScreen(window));
    EXPECT_FALSE(presenter->window());
    EXPECT_FALSE(presenter->containerView()->superview());
}

TEST_F(ModalPresenterTest, HideBeforeTheWindowAppearedKeepsItAway)
{
    presenter->showWithContentView(content(), true);
    auto window = presenter->window();
    presenter->hideAnimated(false);
    advance(1);
    EXPECT_FALSE(onScreen(window));
}

TEST_F(ModalPresenterTest, HideWithNothingShownDoesNothing)
{
    presenter->hideAnimated(true);
    presenter->hideAnimated(false);
    advance(1);
    EXPECT_FALSE(presenter->window());
}

TEST_F(ModalPresenterTest, SecondShowReplacesTheFirstPanelAtOnce)
{
    presenter->showWithContentView(content(), true);
    turn();
    auto first = presenter->window();
    presenter->showWithContentView(content({ 100, 100 }), true);
    EXPECT_FALSE(onScreen(first));
    first.reset();
    turn();
    ASSERT_TRUE(onScreen(presenter->window()));
    EXPECT_EQ(ui::Application::shared().windows().size(), 2u);
    presenter->setAnimateWhenDismissed(false);
    finger.tap({ 10, 10 });
    EXPECT_FALSE(anyModalWindow());
}

TEST_F(ModalPresenterTest, PendingPopOutDoesNotTearDownANewerPanel)
{
    presenter->showWithContentView(content(), true);
    turn();
    presenter->hideAnimated(true);
    turn();
    advance(0.1);
    auto panel = content({ 100, 100 });
    presenter->showWithContentView(panel, true);
    advance(1);
    EXPECT_TRUE(onScreen(presenter->window()));
    EXPECT_EQ(panel->superview(), presenter->containerView());
    EXPECT_EQ(presenter->containerView()->superview(), presenter->viewController()->view());
    // The new panel still hears background taps.
    finger.tap({ 10, 10 });
    advance(0.3);
    EXPECT_FALSE(presenter->window());
}

// Draws the background of the shown modal at scale 1 and returns the alpha at `p`.
uint8_t backgroundAlphaAt(kit::ModalGradientView& background, gfx::Point p)
{
    auto context = gfx::Context::makeBitmap(background.bounds().size, 1);
    gfx::CurrentContext::push(context);
    background.drawRect(background.bounds());
    gfx::CurrentContext::pop();
    return static_cast<uint8_t>(context->makeImage()->pixel(static_cast<int>(p.x), static_cast<int>(p.y)) >> 24);
}

TEST_F(ModalPresenterTest, BackgroundIsARadialShadeOrAFlatDim)
{
    presenter->showWithContentView(content(), false);
    turn();
    auto background = presenter->viewController()->styleView();
    ASSERT_TRUE(background);
    EXPECT_EQ(background->frame(), ui::Screen::main().bounds());
    EXPECT_NEAR(backgroundAlphaAt(*background, { 160, 284 }), 77, 2);
    // The corner is 326 points from the middle, 0.574 of the way to the end radius of 568.
    EXPECT_NEAR(backgroundAlphaAt(*background, { 0, 0 }), (0.3 + 0.5 * 0.574) * 255, 3);
    presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::Solid);
    EXPECT_NEAR(backgroundAlphaAt(*background, { 160, 284 }), 140, 1);
    EXPECT_NEAR(backgroundAlphaAt(*background, { 0, 0 }), 140, 1);
}

TEST_F(ModalPresenterTest, BackgroundDrawsTheStyleItWasGivenWhateverTheSharedPresenterSays)
{
    kit::ModalGradientView background({ 0, 0, 100, 100 });
    presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::Solid);
    EXPECT_NEAR(backgroundAlphaAt(background, { 50, 50 }), 77, 2);
    background.setStyle(kit::ModalBackgroundStyle::Solid);
    presenter->setBackgroundDisplayStyle(kit::ModalBackgroundStyle::RadialGradient);
    EXPECT_NEAR(backgroundAlphaAt(background, { 50, 50 }), 140, 1);
}

TEST_F(ModalPresenterTest, CloseButtonImageIsADarkDiscWithAWhiteCross)
{
    auto image = kit::ModalCloseButton::closeButtonImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (gfx::Size { 32, 32 }));
    EXPECT_EQ(image->scale(), 2);
    // The cross's middle is white, the disc between the arms dark, the corners clear.
    EXPECT_EQ(image->pixel(32, 30), 0xFFFFFFFFu);
    uint32_t disc = image->pixel(32, 18);
    EXPECT_GT(disc >> 24, 200u);
    EXPECT_LT(disc & 0xFF, 40u);
    EXPECT_EQ(image->pixel(0, 63), 0u);
}

} // namespace
