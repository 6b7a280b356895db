#include "TouchFixture.h"

#include "ui/controls/Control.h"

namespace {

using namespace std::chrono_literals;
namespace Event = ui::ControlEvent;

class ControlTracking : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        control = addView<ui::Control>({ 100, 100, 100, 50 });
        for (unsigned bit = 0; bit < 9; ++bit) {
            ui::ControlEvents event = 1u << bit;
            control->addAction(
                [this, event](ui::Control& sender) {
                    events.push_back(event);
                    highlighted.push_back(sender.isHighlighted());
                },
                event);
        }
    }

    std::shared_ptr<ui::Control> control;
    std::vector<ui::ControlEvents> events;
    std::vector<bool> highlighted;
};

TEST_F(ControlTracking, HighlightsWhileInsideTheSlopAndFiresUpInside)
{
    double slop = ui::Control::trackingSlop;
    finger.down({ 150, 125 }).moveTo({ 210, 125 }).moveTo({ 200 + slop + 1, 125 }).moveTo({ 200 + slop - 1, 125 }).up();
    EXPECT_EQ(events,
        (std::vector<ui::ControlEvents> { Event::TouchDown, Event::TouchDragInside, Event::TouchDragOutside,
            Event::TouchDragExit, Event::TouchDragInside, Event::TouchDragEnter, Event::TouchUpInside }));
    EXPECT_EQ(highlighted, (std::vector<bool> { true, true, false, false, true, true, false }));
    EXPECT_FALSE(control->isTracking());
}

TEST_F(ControlTracking, LiftBeyondTheSlopFiresUpOutside)
{
    finger.drag({ 150, 125 }, { 150, 125 + 25 + ui::Control::trackingSlop + 1 }, 0.1s, 1);
    EXPECT_EQ(events.back(), Event::TouchUpOutside);
}

TEST_F(ControlTracking, DisabledControlIgnoresTouchesAndDoesNotPassThemOn)
{
    control->setEnabled(false);
    EXPECT_EQ(control->state(), ui::ControlState::Disabled);
    finger.tap({ 150, 125 });
    EXPECT_TRUE(events.empty());
}

TEST(Control, ActionsRunPerEventInOrderAndOwnersRemoveTheirs)
{
    auto control = std::make_shared<ui::Control>();
    std::vector<std::string> calls;
    int owner = 0;
    control->addAction(
        [&](ui::Control&) { calls.push_back("first"); }, Event::TouchUpInside | Event::ValueChanged, &owner);
    control->addAction([&](ui::Control&) { calls.push_back("second"); }, Event::TouchUpInside);

    control->sendActionsForControlEvents(Event::TouchUpInside);
    EXPECT_EQ(calls, (std::vector<std::string> { "first", "second" }));

    control->removeActions(&owner, Event::TouchUpInside);
    calls.clear();
    control->sendActionsForControlEvents(Event::TouchUpInside | Event::ValueChanged);
    EXPECT_EQ(calls, (std::vector<std::string> { "second", "first" })) << "event by event, in bit order";
    EXPECT_EQ(control->allControlEvents(), Event::TouchUpInside | Event::ValueChanged);
}

TEST(Control, StateCombinesHighlightedDisabledAndSelected)
{
    auto control = std::make_shared<ui::Control>();
    control->setSelected(true);
    control->setHighlighted(true);
    EXPECT_EQ(control->state(), ui::ControlState::Selected | ui::ControlState::Highlighted);
    control->setEnabled(false);
    EXPECT_EQ(control->state(), ui::ControlState::Selected | ui::ControlState::Disabled) << "disabling unhighlights";
}

} // namespace
