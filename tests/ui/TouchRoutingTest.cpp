#include "TouchFixture.h"

#include "ui/controls/Control.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/input/TapGestureRecognizer.h"

namespace {

using State = ui::GestureRecognizer::State;
using namespace std::chrono_literals;
using Phases = std::vector<std::string>;

using TouchRouting = test::TouchFixture;

TEST_F(TouchRouting, TouchStaysBoundWhenUserInteractionIsSwitchedOffMidTouch)
{
    std::vector<State> panStates;
    auto root = addView({ 0, 0, 320, 568 });
    auto child = addView<ui::View>({ 0, 0, 320, 200 }, root.get());
    auto pan
        = std::make_shared<ui::PanGestureRecognizer>([&](ui::GestureRecognizer& g) { panStates.push_back(g.state()); });
    root->addGestureRecognizer(pan);

    finger.down({ 100, 100 }).moveTo({ 150, 100 });
    root->setUserInteractionEnabled(false);
    finger.moveTo({ 200, 100 }).up();
    EXPECT_EQ(panStates, (std::vector<State> { State::Began, State::Changed, State::Ended }));
    EXPECT_EQ(root->phases, (Phases { "began", "cancelled" })) << "the child forwards to its superview";

    panStates.clear();
    root->phases.clear();
    finger.drag({ 100, 100 }, { 200, 100 });
    EXPECT_TRUE(panStates.empty()) << "new touches no longer reach the root view or its recognisers";
    EXPECT_TRUE(root->phases.empty());
}

TEST_F(TouchRouting, RecognizingCancelsTheTouchInItsViewUnlessToldNotTo)
{
    auto view = addView({ 0, 0, 320, 568 });
    auto pan = std::make_shared<ui::PanGestureRecognizer>();
    view->addGestureRecognizer(pan);

    finger.drag({ 100, 100 }, { 200, 100 }, 0.2s, 20);
    EXPECT_EQ(view->phases, (Phases { "began", "moved", "cancelled" }));

    view->phases.clear();
    pan->setCancelsTouchesInView(false);
    finger.drag({ 100, 100 }, { 200, 100 }, 0.2s, 2);
    EXPECT_EQ(view->phases, (Phases { "began", "moved", "moved", "ended" }));
}

TEST_F(TouchRouting, ControlsWinSingleTapsOverAnAncestorsTapRecognizer)
{
    int ancestorTaps = 0, doubleTaps = 0, presses = 0;
    auto container = addView({ 0, 0, 320, 568 });
    auto button = addView<ui::Control>({ 20, 20, 100, 44 }, container.get());
    button->addAction([&](ui::Control&) { ++presses; }, ui::ControlEvent::TouchUpInside);
    container->addGestureRecognizer(
        std::make_shared<ui::TapGestureRecognizer>([&](ui::GestureRecognizer&) { ++ancestorTaps; }));
    auto doubleTap = std::make_shared<ui::TapGestureRecognizer>([&](ui::GestureRecognizer&) { ++doubleTaps; });
    doubleTap->setNumberOfTapsRequired(2);
    container->addGestureRecognizer(doubleTap);

    finger.tap({ 50, 40 });
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(ancestorTaps, 0);

    finger.wait(1s).tap({ 200, 300 });
    EXPECT_EQ(ancestorTaps, 1) << "a tap beside the control";

    finger.wait(1s).tap({ 50, 40 }).wait(0.1s).tap({ 50, 40 });
    EXPECT_EQ(doubleTaps, 1) << "only single taps are the control's";

    button->setEnabled(false);
    finger.wait(1s).tap({ 50, 40 });
    EXPECT_EQ(ancestorTaps, 2) << "a disabled control does not claim the tap";
}

TEST_F(TouchRouting, AncestorsPanTakesADragThatStartsOnAControl)
{
    std::vector<ui::ControlEvents> events;
    auto container = addView({ 0, 0, 320, 568 });
    auto button = addView<ui::Control>({ 20, 20, 100, 44 }, container.get());
    button->addAction(
        [&](ui::Control&) { events.push_back(ui::ControlEvent::TouchDown); }, ui::ControlEvent::TouchDown);
    button->addAction(
        [&](ui::Control&) { events.push_back(ui::ControlEvent::TouchCancel); }, ui::ControlEvent::TouchCancel);
    button->addAction(
        [&](ui::Control&) { events.push_back(ui::ControlEvent::TouchUpInside); }, ui::ControlEvent::TouchUpInside);
    bool panned = false;
    container->addGestureRecognizer(std::make_shared<ui::PanGestureRecognizer>(
        [&](ui::GestureRecognizer& g) { panned |= g.state() == State::Ended; }));

    finger.drag({ 50, 40 }, { 90, 40 });
    EXPECT_TRUE(panned);
    EXPECT_EQ(events, (std::vector<ui::ControlEvents> { ui::ControlEvent::TouchDown, ui::ControlEvent::TouchCancel }));
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(TouchRouting, FrontWindowTakesTouchesItCoversAndHiddenWindowsNone)
{
    auto back = addView({ 0, 0, 320, 568 });
    auto front = std::make_shared<ui::Window>();
    auto cover = std::make_shared<test::RecordingView>(gfx::Rect { 0, 0, 320, 568 });
    front->addSubview(cover);
    front->setHidden(false);
    EXPECT_TRUE(window->isKeyWindow()) << "shown without becoming key";

    finger.tap({ 100, 100 });
    EXPECT_EQ(cover->phases, (Phases { "began", "ended" }));
    EXPECT_TRUE(back->phases.empty());

    front->setHidden(true);
    finger.tap({ 100, 100 });
    EXPECT_EQ(back->phases, (Phases { "began", "ended" }));
}

TEST_F(TouchRouting, TapCountGrowsForQuickTapsAtOnePlace)
{
    int repeats = 0;
    auto control = addView<ui::Control>({ 0, 0, 100, 100 });
    control->addAction([&](ui::Control&) { ++repeats; }, ui::ControlEvent::TouchDownRepeat);

    finger.tap({ 50, 50 }).wait(0.1s).tap({ 55, 50 });
    EXPECT_EQ(repeats, 1);
    finger.wait(1s).tap({ 50, 50 });
    EXPECT_EQ(repeats, 1);
}

} // namespace
