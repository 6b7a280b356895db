// The fan-out button: where the three buttons go, folding and fanning on the manual clock, a sub-button tap
// by touch (the fold starts before the delegate hears), a button without a host, fewer images than buttons,
// and a picture of the fan.
#include "kit/widgets/FanOutButton.h"

#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"
#include "base/system/Log.h"
#include "host/HeadlessHost.h"
#include "ui/input/TouchDriver.h"

#include <cmath>
#include <filesystem>

namespace {

class RecordingFanOutDelegate : public kit::FanOutButtonDelegate {
public:
    explicit RecordingFanOutDelegate(std::weak_ptr<kit::FanOutButton> button)
        : m_button(std::move(button))
    {
    }
    void tappedButtonWithIndex(int index) override
    {
        indices.push_back(index);
        if (auto button = m_button.lock())
            fannedWhenTold = button->isTapped();
    }

    std::vector<int> indices;
    bool fannedWhenTold { true };

private:
    std::weak_ptr<kit::FanOutButton> m_button;
};

class FanOutTest : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        screen = std::make_shared<ui::View>(ui::Screen::main().bounds());
        window->addSubview(screen);
        button = kit::FanOutButton::makeWithView({ 140, 400, 40, 40 }, screen);
        screen->addSubview(button);
    }

    // Animations still running hold what they animate; letting them end leaves nothing behind.
    void TearDown() override
    {
        advance(10);
        test::WidgetTest::TearDown();
    }

    std::shared_ptr<ui::View> screen;
    std::shared_ptr<kit::FanOutButton> button;
    ui::TouchDriver finger;
};

TEST_F(FanOutTest, ButtonsFanOutUpLeftUpAndUpRightOfTheCentre)
{
    EXPECT_EQ(button->centerPoint(), (gfx::Point { 150, 400 }));
    const auto& positions = button->positions();
    EXPECT_NEAR(positions[0].x, 150 - 80 * std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(positions[0].y, 360, 1e-9);
    EXPECT_NEAR(positions[1].x, 150, 1e-9);
    EXPECT_EQ(positions[1].y, 320);
    EXPECT_NEAR(positions[2].x, 150 + 80 * std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(positions[2].y, 360, 1e-9);
    EXPECT_EQ(button->b1()->frame(), (gfx::Rect { 150, 400, 0, 0 }));
    EXPECT_EQ(button->b1()->alpha(), 0);
    EXPECT_EQ(button->layer()->cornerRadius(), 20);
    EXPECT_TRUE(button->markView()->layer()->animationForKey("animation"));
}

TEST_F(FanOutTest, AnimateFansOutThenFoldsBack)
{
    button->animate();
    EXPECT_TRUE(button->isTapped());
    for (size_t i = 0; i < 3; ++i) {
        const auto& sub = i == 0 ? button->b1() : i == 1 ? button->b2() : button->b3();
        EXPECT_EQ(sub->superview(), screen);
        EXPECT_EQ(sub->alpha(), 1);
        EXPECT_EQ(sub->frame(), (gfx::Rect { button->positions()[i], { 40, 40 } }));
    }
    advance(1.8);

    button->animate();
    EXPECT_FALSE(button->isTapped());
    EXPECT_EQ(button->b2()->frame(), (gfx::Rect { 150, 400, 40, 40 }));
    EXPECT_EQ(button->b2()->alpha(), 0);
    turn();
    EXPECT_FALSE(button->b2()->superview());
    EXPECT_EQ(button->b2()->alpha(), 1);
}

TEST_F(FanOutTest, SubButtonTapFoldsBeforeTheDelegateHearsItsIndex)
{
    auto delegate = std::make_shared<RecordingFanOutDelegate>(button);
    button->setDelegate(delegate);
    button->animate();
    advance(1.8);
    finger.tap({ 170, 340 });
    EXPECT_EQ(delegate->indices, (std::vector<int> { 2 }));
    EXPECT_FALSE(delegate->fannedWhenTold);
    advance(0.1);
    EXPECT_FALSE(button->b2()->superview());
}

TEST_F(FanOutTest, WithoutAHostTheFanGoesNowhere)
{
    base::Log::ScopedCapture log;
    auto loose = kit::FanOutButton::make({ 0, 0, 40, 40 });
    EXPECT_TRUE(log.contains("-----{"));
    loose->animate();
    EXPECT_TRUE(loose->isTapped());
    EXPECT_FALSE(loose->b1()->superview());
}

TEST_F(FanOutTest, FewerImagesThanButtonsSetThoseGiven)
{
    auto photo = gfx::Image::named("success");
    button->setImagesForButtons({ photo });
    EXPECT_EQ(button->b1()->imageForState(ui::ControlState::Normal), photo);
    EXPECT_FALSE(button->b2()->imageForState(ui::ControlState::Normal));
    button->setImagesForButtons({});
    EXPECT_EQ(button->b1()->imageForState(ui::ControlState::Normal), photo);
}

TEST_F(FanOutTest, Snapshot)
{
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    screen->setBackgroundColor(gfx::Color::fromWhite(0.95, 1));
    button->setCenterButtonImage(nullptr, gfx::Color::rgb(0.22, 0.72, 0.85));
    button->setImagesForButtons(
        { gfx::Image::named("success"), gfx::Image::named("Checkmark"), gfx::Image::named("error") });
    button->b2()->setBackgroundColor(gfx::Color::rgb(0.3, 0.5, 0.8));
    button->animate();
    advance(2);
    auto path = host.writeFrame("kit-fan-out");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The centre button in its colour, the second one fanned out to its place in its own colour.
    EXPECT_TRUE(test::shows(*button, { 20, 3 }, gfx::Color::rgb(0.22, 0.72, 0.85)));
    EXPECT_TRUE(test::shows(
        *screen, { button->positions()[1].x + 20, button->positions()[1].y + 3 }, gfx::Color::rgb(0.3, 0.5, 0.8)));
    EXPECT_TRUE(test::shows(*screen, { 5, 5 }, gfx::Color::fromWhite(0.95, 1)));
}

} // namespace
