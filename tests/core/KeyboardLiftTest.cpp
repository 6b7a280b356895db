// The keyboard lift driven by the platform keyboard: a field that begins editing inside the lifted view.
#include "core/helpers/KeyboardLift.h"
#include "base/ClockFixture.h"
#include "ui/animation/Animation.h"
#include "ui/input/Keyboard.h"
#include "ui/view/Screen.h"
#include "ui/controls/TextField.h"
#include "ui/view/Window.h"

namespace {

using core::KeyboardLift;

class KeyboardLiftTest : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        window = std::make_shared<ui::Window>();
        window->makeKeyAndVisible();
        panel = std::make_shared<ui::View>(resting);
        window->addSubview(panel);
        field = std::make_shared<ui::TextField>(gfx::Rect { 10, 150, 200, 30 });
        panel->addSubview(field);
        lift = KeyboardLift::make(panel, [this](const gfx::Rect& frame, double keyboardTop) {
            seenTops.push_back(keyboardTop);
            return keyboardTop - frame.height();
        });
    }
    void TearDown() override
    {
        field->resignFirstResponder();
        window->setHidden(true);
        ManualClockTest::TearDown();
    }

    double animatedDuration() const
    {
        auto keys = panel->layer()->animationKeys();
        return keys.empty() ? 0 : panel->layer()->animationForKey(keys.front())->duration();
    }
    void advance(double seconds) { clock->advance(base::Duration(seconds)); }

    static constexpr gfx::Rect resting { 0, 300, 320, 200 };
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> panel;
    std::shared_ptr<ui::TextField> field;
    std::shared_ptr<KeyboardLift> lift;
    std::vector<double> seenTops;
};

TEST_F(KeyboardLiftTest, TheViewRisesWithTheKeyboardAndComesBackWhenItGoes)
{
    lift->start();
    ASSERT_TRUE(field->becomeFirstResponder());
    double keyboardTop = ui::Screen::main().bounds().height() - ui::Keyboard::onScreenHeight;
    EXPECT_EQ(seenTops, (std::vector<double> { keyboardTop }));
    EXPECT_EQ(panel->frame(), (gfx::Rect { 0, keyboardTop - 200, 320, 200 }));
    EXPECT_TRUE(lift->isLifted());
    EXPECT_DOUBLE_EQ(animatedDuration(), KeyboardLift::AnimationDuration);
    advance(0.3);

    field->resignFirstResponder();
    EXPECT_EQ(panel->frame(), resting);
    EXPECT_FALSE(lift->isLifted());
    EXPECT_DOUBLE_EQ(animatedDuration(), 0.3);
}

TEST_F(KeyboardLiftTest, TheKeyboardTopIsMeasuredInTheViewsSuperview)
{
    auto container = std::make_shared<ui::View>(gfx::Rect { 0, 64, 320, 504 });
    window->addSubview(container);
    container->addSubview(panel);
    lift->start();
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(
        seenTops, (std::vector<double> { ui::Screen::main().bounds().height() - ui::Keyboard::onScreenHeight - 64 }));
}

TEST_F(KeyboardLiftTest, StopPutsTheViewBackAtOnceAndEndsTheObserving)
{
    lift->start();
    lift->start();
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(seenTops.size(), 1u) << "a second start observes nothing twice";
    lift->stop();
    EXPECT_EQ(panel->frame(), resting);
    field->resignFirstResponder();
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(seenTops.size(), 1u);
    EXPECT_EQ(panel->frame(), resting);
}

TEST_F(KeyboardLiftTest, ALiftWithoutAViewOrAfterItsOwnerWentDoesNothing)
{
    lift->start();
    std::weak_ptr<KeyboardLift> gone = lift;
    lift.reset();
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_EQ(panel->frame(), resting);
    EXPECT_TRUE(seenTops.empty());
}

} // namespace
