#include "TouchFixture.h"

#include "ui/input/PanGestureRecognizer.h"
#include "ui/input/PinchGestureRecognizer.h"
#include "ui/input/SwipeGestureRecognizer.h"
#include "ui/input/TapGestureRecognizer.h"

#include <cmath>

namespace {

using State = ui::GestureRecognizer::State;
using namespace std::chrono_literals;

// Makes a recogniser whose actions write down the state they see.
template <typename T> std::shared_ptr<T> recording(std::vector<State>& states)
{
    return std::make_shared<T>([&states](ui::GestureRecognizer& g) { states.push_back(g.state()); });
}

class SimultaneousDelegate : public ui::GestureRecognizerDelegate {
public:
    bool gestureRecognizerShouldRecognizeSimultaneously(ui::GestureRecognizer&, ui::GestureRecognizer&) override
    {
        return true;
    }
};

class RefusingDelegate : public ui::GestureRecognizerDelegate {
public:
    gfx::Rect refused;
    bool gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer&, const ui::Touch& touch) override
    {
        return !refused.contains(touch.locationInView(nullptr));
    }
};

using GestureRecognizers = test::TouchFixture;

TEST_F(GestureRecognizers, TapRecognizesOnLiftAndFailsWhenTheFingerWanders)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto tap = recording<ui::TapGestureRecognizer>(states);
    view->addGestureRecognizer(tap);

    finger.down({ 100, 100 });
    EXPECT_TRUE(states.empty());
    finger.wait(0.05s).up();
    EXPECT_EQ(states, std::vector<State> { State::Recognized });
    EXPECT_EQ(tap->state(), State::Possible);
    EXPECT_EQ(tap->locationInView(view.get()), (gfx::Point { 100, 100 }));

    states.clear();
    finger.down({ 100, 100 }).moveTo({ 100, 100 + ui::TapGestureRecognizer::allowableMovement + 1 }).up();
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(tap->state(), State::Possible) << "reset once the touches are over";
}

TEST_F(GestureRecognizers, DoubleTapNeedsTheSecondTapSoonAndNear)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto doubleTap = recording<ui::TapGestureRecognizer>(states);
    doubleTap->setNumberOfTapsRequired(2);
    view->addGestureRecognizer(doubleTap);

    finger.tap({ 50, 50 }).wait(0.2s).tap({ 55, 52 });
    EXPECT_EQ(states, std::vector<State> { State::Recognized });

    states.clear();
    finger.tap({ 50, 50 }).wait(ui::TapGestureRecognizer::maximumTapInterval + 0.01s).tap({ 50, 50 });
    EXPECT_TRUE(states.empty()) << "too late";

    finger.wait(1s).tap({ 50, 50 }).wait(0.1s).tap({ 150, 50 });
    EXPECT_TRUE(states.empty()) << "too far";
}

TEST_F(GestureRecognizers, TwoFingerTapNeedsBothFingersDownTogether)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto tap = recording<ui::TapGestureRecognizer>(states);
    tap->setNumberOfTouchesRequired(2);
    view->addGestureRecognizer(tap);

    finger.down({ 50, 50 }, 0).down({ 80, 50 }, 1).up(0).up(1);
    EXPECT_EQ(states, std::vector<State> { State::Recognized });

    states.clear();
    finger.wait(1s).tap({ 50, 50 });
    EXPECT_TRUE(states.empty());
}

TEST_F(GestureRecognizers, SingleTapThatRequiresTheDoubleTapToFailWaitsForIt)
{
    std::vector<std::string> fired;
    auto view = addView({ 0, 0, 320, 568 });
    auto single
        = std::make_shared<ui::TapGestureRecognizer>([&](ui::GestureRecognizer&) { fired.push_back("single"); });
    auto doubleTap
        = std::make_shared<ui::TapGestureRecognizer>([&](ui::GestureRecognizer&) { fired.push_back("double"); });
    doubleTap->setNumberOfTapsRequired(2);
    single->requireGestureRecognizerToFail(doubleTap);
    view->addGestureRecognizer(single);
    view->addGestureRecognizer(doubleTap);

    finger.tap({ 100, 100 });
    EXPECT_TRUE(fired.empty()) << "waits for the double tap to fail";
    finger.wait(ui::TapGestureRecognizer::maximumTapInterval);
    EXPECT_EQ(fired, std::vector<std::string> { "single" });

    fired.clear();
    finger.wait(1s).tap({ 100, 100 }).wait(0.1s).tap({ 100, 100 }).wait(1s);
    EXPECT_EQ(fired, std::vector<std::string> { "double" });
}

TEST_F(GestureRecognizers, PanBeginsPastTheThresholdAndReportsEveryMove)
{
    std::vector<State> states;
    std::vector<gfx::Point> translations;
    auto view = addView({ 0, 0, 320, 568 });
    auto pan = std::make_shared<ui::PanGestureRecognizer>([&](ui::GestureRecognizer& g) {
        states.push_back(g.state());
        translations.push_back(static_cast<ui::PanGestureRecognizer&>(g).translationInView(nullptr));
    });
    view->addGestureRecognizer(pan);

    finger.down({ 100, 100 }).moveTo({ 105, 100 });
    EXPECT_TRUE(states.empty()) << "5 points is under the threshold";
    finger.moveTo({ 112, 100 }).moveTo({ 130, 90 }).up();
    EXPECT_EQ(states, (std::vector<State> { State::Began, State::Changed, State::Ended }));
    EXPECT_EQ(translations[0], (gfx::Point { 12, 0 })) << "measured from touch-down";
    EXPECT_EQ(translations[1], (gfx::Point { 30, -10 }));
    EXPECT_EQ(translations[2], (gfx::Point { 30, -10 }));
}

TEST_F(GestureRecognizers, PanTranslationAndVelocityFollowTheViewsCoordinates)
{
    gfx::Point translation, velocity;
    auto view = addView({ 50, 50, 200, 200 });
    view->setTransform(gfx::AffineTransform::makeScale(2, 2));
    auto pan = std::make_shared<ui::PanGestureRecognizer>([&](ui::GestureRecognizer& g) {
        auto& p = static_cast<ui::PanGestureRecognizer&>(g);
        translation = p.translationInView(p.view().get());
        velocity = p.velocityInView(p.view().get());
        if (g.state() == State::Began)
            p.setTranslation({ 0, 0 }, p.view().get());
    });
    view->addGestureRecognizer(pan);

    // 100 points right in 0.1 s, in ten steps: 1000 points per second on screen, 500 in the scaled view.
    finger.down({ 150, 150 }).moveTo({ 250, 150 }, 0.1s, 10);
    EXPECT_NEAR(velocity.x, 500, 1e-6);
    EXPECT_NEAR(velocity.y, 0, 1e-6);
    EXPECT_NEAR(translation.x, 45, 1e-6) << "90 screen points since the translation was set to zero at 10";

    finger.wait(0.5s).up();
    EXPECT_EQ(velocity, (gfx::Point { 0, 0 })) << "a finger that stopped before lifting has no speed";
}

TEST_F(GestureRecognizers, DisablingCancelsAPanAndIgnoresTheRestOfItsTouch)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto pan = recording<ui::PanGestureRecognizer>(states);
    view->addGestureRecognizer(pan);

    finger.down({ 100, 100 }).moveTo({ 150, 100 });
    pan->setEnabled(false);
    EXPECT_EQ(pan->state(), State::Possible);
    pan->setEnabled(true);
    finger.moveTo({ 200, 100 }).up();
    EXPECT_EQ(states, (std::vector<State> { State::Began, State::Cancelled }));

    finger.drag({ 100, 100 }, { 200, 100 });
    EXPECT_EQ(states.back(), State::Ended) << "new touches reach it again";
}

TEST_F(GestureRecognizers, PinchScaleIsTheRatioOfFingerDistances)
{
    std::vector<State> states;
    double scale = 0;
    auto view = addView({ 0, 0, 320, 568 });
    auto pinch = std::make_shared<ui::PinchGestureRecognizer>([&](ui::GestureRecognizer& g) {
        states.push_back(g.state());
        scale = static_cast<ui::PinchGestureRecognizer&>(g).scale();
    });
    view->addGestureRecognizer(pinch);

    finger.down({ 100, 200 }, 0).down({ 200, 200 }, 1);
    finger.moveTo({ 250, 200 }, 0.05s, 1, 1);
    EXPECT_DOUBLE_EQ(scale, 1.5);
    finger.moveTo({ 50, 200 }, 0.05s, 1, 0);
    EXPECT_DOUBLE_EQ(scale, 2.0);
    finger.up(0).up(1);
    EXPECT_EQ(states, (std::vector<State> { State::Began, State::Changed, State::Ended }));
}

TEST_F(GestureRecognizers, HostPinchStepsDriveAPinchThroughSyntheticFingers)
{
    std::vector<State> states;
    double scale = 0;
    auto view = addView({ 0, 0, 320, 568 });
    view->addGestureRecognizer(std::make_shared<ui::PinchGestureRecognizer>([&](ui::GestureRecognizer& g) {
        states.push_back(g.state());
        scale = static_cast<ui::PinchGestureRecognizer&>(g).scale();
    }));
    auto handler = ui::Application::shared().inputHandler();

    handler->pinch({ { 160, 300 }, 1.1, clock->now() });
    finger.wait(0.1s);
    handler->pinch({ { 160, 300 }, 1.1, clock->now() });
    EXPECT_DOUBLE_EQ(scale, 1.21);
    finger.wait(ui::EventDispatcher::pinchEndDelay);
    EXPECT_EQ(states, (std::vector<State> { State::Began, State::Changed, State::Changed, State::Ended }))
        << "each finger's move is an event";
}

TEST_F(GestureRecognizers, SwipeRecognizesQuickStraightStrokesInItsDirectionsOnly)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto swipe = recording<ui::SwipeGestureRecognizer>(states);
    swipe->setDirection(ui::SwipeGestureRecognizer::Left);
    view->addGestureRecognizer(swipe);

    finger.down({ 200, 200 }).moveTo({ 140, 210 }, 0.1s, 3);
    EXPECT_EQ(states, std::vector<State> { State::Recognized }) << "recognised before the finger lifts";
    finger.up();

    states.clear();
    finger.drag({ 100, 200 }, { 200, 200 }, 0.1s);
    finger.drag({ 200, 200 }, { 100, 200 }, 2s);
    finger.drag({ 200, 200 }, { 140, 250 }, 0.1s);
    EXPECT_TRUE(states.empty()) << "wrong way, too slow, too crooked";
}

TEST_F(GestureRecognizers, FirstToRecognizeMakesTheOthersFailUnlessSimultaneous)
{
    std::vector<State> tapStates, panStates, outerStates;
    auto outer = addView({ 0, 0, 320, 568 });
    auto inner = addView({ 0, 0, 320, 300 }, outer.get());
    auto tap = recording<ui::TapGestureRecognizer>(tapStates);
    auto innerPan = recording<ui::PanGestureRecognizer>(panStates);
    auto outerPan = recording<ui::PanGestureRecognizer>(outerStates);
    inner->addGestureRecognizer(tap);
    inner->addGestureRecognizer(innerPan);
    outer->addGestureRecognizer(outerPan);

    finger.drag({ 100, 100 }, { 200, 100 });
    EXPECT_TRUE(tapStates.empty());
    EXPECT_EQ(panStates.back(), State::Ended);
    EXPECT_TRUE(outerStates.empty()) << "the deeper view's pan was asked first and won";

    auto both = std::make_shared<SimultaneousDelegate>();
    outerPan->setDelegate(both);
    finger.drag({ 100, 100 }, { 200, 100 });
    EXPECT_EQ(outerStates.front(), State::Began);
    EXPECT_EQ(outerStates.back(), State::Ended);
}

TEST_F(GestureRecognizers, DelegateMayRefuseATouchAtTouchDown)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto pan = recording<ui::PanGestureRecognizer>(states);
    auto delegate = std::make_shared<RefusingDelegate>();
    delegate->refused = { 0, 0, 320, 100 };
    pan->setDelegate(delegate);
    view->addGestureRecognizer(pan);

    finger.drag({ 100, 50 }, { 200, 300 });
    EXPECT_TRUE(states.empty());
    finger.drag({ 100, 150 }, { 200, 50 });
    EXPECT_EQ(states.back(), State::Ended) << "asked at touch-down only";
}

TEST_F(GestureRecognizers, RemovingARecognizerMidGestureDropsItQuietly)
{
    std::vector<State> states;
    auto view = addView({ 0, 0, 320, 568 });
    auto pan = recording<ui::PanGestureRecognizer>(states);
    view->addGestureRecognizer(pan);

    finger.down({ 100, 100 }).moveTo({ 150, 100 });
    view->removeGestureRecognizer(pan);
    finger.moveTo({ 200, 100 }).up();
    EXPECT_EQ(states, std::vector<State> { State::Began });
    EXPECT_EQ(pan->state(), State::Possible);
}

} // namespace
