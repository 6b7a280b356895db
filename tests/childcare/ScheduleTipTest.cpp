// A lesson's period time in the class schedule: the tip over the tapped lesson number (where the cell is on
// screen, also once scrolled), a tap while it shows only hiding it, and the tip leading to the class-period
// screen, whose confirmed times are sent at once.
#include "ScheduleScreenFixture.h"

#include "ui/controllers/NavigationController.h"
#include "ui/controls/DatePicker.h"
#include "ui/scroll/ScrollView.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace {

class ScheduleTip : public test::ScheduleTest {
protected:
    void tapNumber(int row)
    {
        tap(schedule()->lessonNumberButton(row));
        clock->advance(1s);
    }
    std::shared_ptr<kit::PopTip> tip() const { return schedule()->popTip(); }
    std::shared_ptr<ui::ViewController> top() const { return schedule()->navigationController()->topViewController(); }
};

TEST_F(ScheduleTip, ALessonNumberShowsItsPeriodNextToTheCellOnScreen)
{
    tapNumber(2);
    ASSERT_TRUE(tip()->isVisible());
    EXPECT_EQ(tip()->attributedText()->string(), "10:05~10:45");
    double unit = 320 / 5.5;
    EXPECT_TRUE(sameFrame(tip()->fromFrame(), { 0, 64 + 30 + 100, unit / 2, 50 }));
    EXPECT_EQ(tip()->superview(), schedule()->view());
    EXPECT_TRUE(test::ScreenProbe::near(
        colourAt(tip(), { tip()->bounds().width() - 4, tip()->bounds().height() / 2 }), gfx::Color::white()));

    // A tap while the tip shows only hides it; the next tap shows the row tapped.
    tapNumber(5);
    EXPECT_FALSE(tip()->isVisible());
    schedule()->weekScrollView()->setContentOffset({ 0, 100 });
    tapNumber(5);
    ASSERT_TRUE(tip()->isVisible());
    EXPECT_EQ(tip()->attributedText()->string(), "13:05~13:45");
    EXPECT_TRUE(sameFrame(tip()->fromFrame(), { 0, 64 + 30 + 250 - 100, unit / 2, 50 }));
}

TEST_F(ScheduleTip, TheTipOpensTheClassPeriodScreenWithTheTimetablesOwnLists)
{
    tapNumber(0);
    tap(tip());
    clock->advance(1s);
    auto periods = std::dynamic_pointer_cast<childcare::ClassTimeSetVC>(top());
    ASSERT_TRUE(periods);
    EXPECT_EQ(periods, schedule()->classTimeSetVC());
    EXPECT_FALSE(tip()->isVisible());
    EXPECT_EQ(periods->arrStartHour().get(), &schedule()->classInfo()->start_H);
    EXPECT_TRUE(textInRegion("13:05~13:45", { 0, 64, 320, 504 }));
}

TEST_F(ScheduleTip, AConfirmedPeriodTimeIsSentAtOnceAndShownAfterTheReload)
{
    tapNumber(0);
    tap(tip());
    clock->advance(1s);
    auto periods = schedule()->classTimeSetVC();
    periods->didSelectRowAtIndexPath(*periods->tableView(), { 1, 1 });
    clock->advance(1s);
    EXPECT_TRUE(test::ScreenProbe::near(colourAt(periods->pickerBgView(), { 160, 2 }), gfx::Color::white()));
    periods->myStartPicker()->setCountDownDuration(8 * 3600 + 5 * 60);
    periods->myEndPicker()->setCountDownDuration(8 * 3600 + 45 * 60);
    periods->clickDone();
    settle();

    auto sent = savedEntities();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sentField(sent[0], 6, "Start_H"), base::Value(8));
    EXPECT_EQ(sentField(sent[0], 6, "Start_M"), base::Value("05"));
    EXPECT_EQ(sentField(sent[0], 6, "End_H"), base::Value(8));
    EXPECT_EQ(sentField(sent[0], 6, "End_M"), base::Value("45"));
    EXPECT_EQ(sentField(sent[0], 5, "Start_H"), base::Value(12));
    EXPECT_EQ(takeAlertMessage(), base::localized("setting_success"));
    EXPECT_EQ(top(), schedule());
    EXPECT_EQ(schedule()->arrClassTime()[5], "8:05~8:45");
}

TEST_F(ScheduleTip, EscapeClosesThePeriodPanelAsCancelDoesAndThePanelGoesWithItsScreen)
{
    auto openPanel = [this] {
        tapNumber(0);
        tap(tip());
        clock->advance(1s);
        auto periods = schedule()->classTimeSetVC();
        periods->didSelectRowAtIndexPath(*periods->tableView(), { 0, 1 });
        clock->advance(1s);
        return periods;
    };
    auto periods = openPanel();
    ASSERT_TRUE(periods->pickerBgView()->superview());
    pressEscape();
    EXPECT_EQ(top(), periods);
    clock->advance(1s);
    EXPECT_FALSE(periods->pickerBgView()->superview());
    EXPECT_FALSE(periods->maskView()->superview());
    pressEscape();
    clock->advance(1s);
    EXPECT_EQ(top(), schedule()) << "with the panel closed, Escape goes back";

    // Left by its back button with the panel up, the screen comes back without it.
    periods = openPanel();
    tap(periods->navigationItem()->leftBarButtonItem()->view());
    clock->advance(1s);
    ASSERT_EQ(top(), schedule());
    EXPECT_FALSE(periods->pickerBgView()->superview());
    tapNumber(0);
    tap(tip());
    clock->advance(1s);
    ASSERT_EQ(top(), periods);
    EXPECT_FALSE(periods->pickerBgView()->superview());
    EXPECT_TRUE(savedEntities().empty());
}

// A tapped period row opens the panel, which names the period; the row is not left grey after the panel closes,
// by Escape or by Cancel, nor when the screen is opened again.
TEST_F(ScheduleTip, APeriodRowIsNotLeftSelectedWhateverClosesItsPanel)
{
    auto openPeriods = [this] {
        tapNumber(0);
        tap(tip());
        clock->advance(1s);
        return schedule()->classTimeSetVC();
    };
    auto periods = openPeriods();
    const auto& table = periods->tableView();
    for (bool byEscape : { true, false }) {
        SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
        tap(table->cellForRowAtIndexPath({ 0, 1 }));
        clock->advance(1s);
        ASSERT_TRUE(periods->pickerBgView()->superview());
        if (byEscape)
            pressEscape();
        else
            periods->clickCancel();
        clock->advance(1s);
        EXPECT_FALSE(periods->pickerBgView()->superview());
        EXPECT_FALSE(table->indexPathForSelectedRow()) << "the row is not left grey";
    }
    pressEscape();
    clock->advance(1s);
    ASSERT_EQ(top(), schedule());
    ASSERT_EQ(openPeriods(), periods);
    EXPECT_FALSE(table->indexPathForSelectedRow()) << "nor on the next visit";
    EXPECT_TRUE(savedEntities().empty());
}

} // namespace
