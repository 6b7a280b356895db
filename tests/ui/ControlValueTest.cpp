#include "TouchFixture.h"

#include "ui/controls/SegmentedControl.h"
#include "ui/controls/Switch.h"

namespace {

using namespace std::chrono_literals;

using ControlValues = test::TouchFixture;

TEST_F(ControlValues, SwitchTurnsOverOnATapAndOnlyTheTapSendsValueChanged)
{
    std::vector<bool> sent;
    auto toggle = addView<ui::Switch>({ 100, 100, 200, 200 });
    EXPECT_EQ(toggle->frame().size, ui::Switch::size);
    toggle->addAction(
        [&](ui::Control& s) { sent.push_back(static_cast<ui::Switch&>(s).isOn()); }, ui::ControlEvent::ValueChanged);

    finger.tap({ 120, 115 });
    EXPECT_EQ(sent, std::vector<bool> { true });
    toggle->setOn(false, true);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(sent.size(), 1u);

    finger.wait(1s).drag({ 120, 115 }, { 120, 400 });
    EXPECT_EQ(sent.size(), 1u) << "lifted outside";
}

TEST_F(ControlValues, SegmentedControlSelectsTheSegmentTheFingerLiftsIn)
{
    std::vector<int> sent;
    auto segment = addView<ui::SegmentedControl>({ 0, 0, 0, 0 });
    segment->insertSegmentWithTitle("GPS", 0);
    segment->insertSegmentWithTitle("OBD", 1);
    segment->setFrame({ 60, 100, 200, 29 });
    segment->addAction(
        [&](ui::Control& s) { sent.push_back(static_cast<ui::SegmentedControl&>(s).selectedSegmentIndex()); },
        ui::ControlEvent::ValueChanged);
    EXPECT_EQ(segment->selectedSegmentIndex(), ui::SegmentedControl::noSegment);

    finger.tap({ 200, 110 });
    EXPECT_EQ(sent, std::vector<int> { 1 });

    segment->setEnabledForSegmentAtIndex(false, 0);
    finger.wait(1s).tap({ 80, 110 });
    EXPECT_EQ(segment->selectedSegmentIndex(), 1) << "a disabled segment is not selected";

    segment->setMomentary(true);
    finger.wait(1s).tap({ 200, 110 });
    EXPECT_EQ(sent, (std::vector<int> { 1, 1 }));
}

TEST(SegmentedControl, InsertingAndRemovingKeepTheSelectedSegment)
{
    auto segment = std::make_shared<ui::SegmentedControl>(std::vector<std::string> { "a", "b", "c" });
    segment->setSelectedSegmentIndex(1);
    segment->insertSegmentWithTitle("z", 0);
    EXPECT_EQ(segment->selectedSegmentIndex(), 2);
    EXPECT_EQ(segment->titleForSegmentAtIndex(2), "b");
    segment->removeSegmentAtIndex(0);
    EXPECT_EQ(segment->selectedSegmentIndex(), 1);
    segment->removeSegmentAtIndex(1);
    EXPECT_EQ(segment->selectedSegmentIndex(), ui::SegmentedControl::noSegment);
    segment->setSelectedSegmentIndex(7);
    EXPECT_EQ(segment->selectedSegmentIndex(), ui::SegmentedControl::noSegment);
}

} // namespace
