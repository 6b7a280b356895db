// The class-period screen on its own: rows by period count, the picker panel, what Done writes into the
// opener's lists (hours as numbers, minutes as two-digit texts) and hands to the delegate, and what Cancel
// leaves alone.
#include "base/ClockFixture.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/schedule/ClassTimeSetVC.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/view/Window.h"

namespace {

using namespace std::chrono_literals;
using childcare::ClassTimeSetVC;
using Periods = ClassTimeSetVC::Periods;

class Recorder : public childcare::ClassTimeSetVCDelegate {
public:
    void setTime(
        const Periods& startHour, const Periods& startMin, const Periods& endHour, const Periods& endMin) override
    {
        calls.push_back({ startHour, startMin, endHour, endMin });
    }
    std::vector<std::array<Periods, 4>> calls;
};

class PeriodTimes : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        window.reset();
        clock->advance(1s);
        ManualClockTest::TearDown();
    }

    // `count` periods: hours from 8 as numbers, minutes "05", ends at ":45".
    void open(size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            startHour->push_back(base::Value(static_cast<int>(8 + i)));
            startMin->push_back(base::Value("05"));
            endHour->push_back(base::Value(static_cast<int>(8 + i)));
            endMin->push_back(base::Value("45"));
        }
        screen->setDelegate(delegate);
        screen->setArrStartHour(startHour);
        screen->setArrStartMin(startMin);
        screen->setArrEndHour(endHour);
        screen->setArrEndMin(endMin);
        window->addSubview(screen->view());
        clock->advance(0s);
    }
    std::shared_ptr<ui::TableViewCell> cell(int section, int row)
    {
        return screen->tableView()->cellForRowAtIndexPath({ section, row });
    }
    static std::string title(const char* key)
    {
        return base::LocalizedFormat::format(base::localized("num_class"), { base::localized(key) });
    }
    void select(int section, int row)
    {
        screen->didSelectRowAtIndexPath(*screen->tableView(), { section, row });
        clock->advance(1s);
    }

    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>();
    std::shared_ptr<ClassTimeSetVC> screen = ClassTimeSetVC::make();
    std::shared_ptr<Recorder> delegate = std::make_shared<Recorder>();
    ClassTimeSetVC::PeriodList startHour = std::make_shared<Periods>();
    ClassTimeSetVC::PeriodList startMin = std::make_shared<Periods>();
    ClassTimeSetVC::PeriodList endHour = std::make_shared<Periods>();
    ClassTimeSetVC::PeriodList endMin = std::make_shared<Periods>();
};

TEST_F(PeriodTimes, EightPeriodsFillFourAndFourRows)
{
    open(8);
    auto& table = *screen->tableView();
    EXPECT_EQ(table.numberOfRowsInSection(0), 4);
    EXPECT_EQ(table.numberOfRowsInSection(1), 4);
    EXPECT_EQ(cell(0, 0)->textLabel()->text(), title("one"));
    EXPECT_EQ(cell(0, 0)->detailTextLabel()->text(), "8:05~8:45");
    EXPECT_EQ(cell(1, 3)->textLabel()->text(), title("eight"));
    EXPECT_EQ(cell(1, 3)->detailTextLabel()->text(), "15:05~15:45");
}

TEST_F(PeriodTimes, TheTenthAndLaterPeriodsAllReadTen)
{
    open(12);
    EXPECT_EQ(screen->tableView()->numberOfRowsInSection(1), 8);
    EXPECT_EQ(cell(1, 4)->textLabel()->text(), title("nine"));
    EXPECT_EQ(cell(1, 5)->textLabel()->text(), title("ten"));
    screen->tableView()->setContentOffset({ 0, 300 });
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(cell(1, 7)->textLabel()->text(), title("ten"));
    EXPECT_EQ(cell(1, 7)->detailTextLabel()->text(), "19:05~19:45");
}

TEST_F(PeriodTimes, FewerThanFourPeriodsLeaveTheSecondSectionEmpty)
{
    open(2);
    EXPECT_EQ(screen->tableView()->numberOfRowsInSection(0), 2);
    EXPECT_EQ(screen->tableView()->numberOfRowsInSection(1), 0);
}

TEST_F(PeriodTimes, DoneOnPeriodSixWritesIndexFiveInTheOpenersListsAndHandsThemOver)
{
    open(8);
    (*startHour)[5] = base::Value("13");
    select(1, 1);
    EXPECT_EQ(screen->myStartPicker()->hour(), 13);
    EXPECT_EQ(screen->myStartPicker()->minute(), 5);
    EXPECT_EQ(screen->myEndPicker()->hour(), 13);
    EXPECT_EQ(screen->myEndPicker()->minute(), 45);
    EXPECT_EQ(screen->pickerBgView()->frame().minY(), ui::Screen::main().bounds().height() / 2);

    screen->myStartPicker()->setCountDownDuration(8 * 3600 + 5 * 60);
    screen->myEndPicker()->setCountDownDuration(7 * 3600 + 50 * 60);
    screen->clickDone();
    clock->advance(1s);

    EXPECT_EQ((*startHour)[5], base::Value(8));
    EXPECT_EQ((*startMin)[5], base::Value("05"));
    EXPECT_EQ((*endHour)[5], base::Value(7));
    EXPECT_EQ((*endMin)[5], base::Value("50"));
    EXPECT_EQ((*startHour)[4], base::Value(12));
    EXPECT_EQ((*startMin)[6], base::Value("05"));
    ASSERT_EQ(delegate->calls.size(), 1u);
    EXPECT_EQ(delegate->calls[0][0], *startHour);
    EXPECT_EQ(delegate->calls[0][3], *endMin);
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), "8:05~7:50");
    EXPECT_FALSE(screen->pickerBgView()->superview());
}

TEST_F(PeriodTimes, ATimeThatDoesNotReadStartsThePickersAtMidnight)
{
    open(4);
    (*startHour)[0] = base::Value("eight");
    (*endMin)[0] = base::Value("4");
    screen->myStartPicker()->setCountDownDuration(3600);
    select(0, 0);
    EXPECT_EQ(screen->myStartPicker()->countDownDuration(), 0);
    EXPECT_EQ(screen->myEndPicker()->countDownDuration(), 0);
}

TEST_F(PeriodTimes, CancelAndATapOnTheMaskWriteNothing)
{
    open(8);
    Periods before = *startHour;
    select(0, 2);
    screen->myStartPicker()->setCountDownDuration(3600);
    screen->clickCancel();
    clock->advance(1s);
    EXPECT_FALSE(screen->maskView()->superview());
    select(0, 2);
    EXPECT_DOUBLE_EQ(screen->maskView()->alpha(), ClassTimeSetVC::maskAlpha);
    screen->hideMyPicker();
    clock->advance(1s);
    EXPECT_EQ(*startHour, before);
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(PeriodTimes, WithoutADelegateTheListsStillChange)
{
    open(4);
    delegate.reset();
    select(0, 3);
    screen->myStartPicker()->setCountDownDuration(9 * 3600);
    screen->clickDone();
    clock->advance(1s);
    EXPECT_EQ((*startHour)[3], base::Value(9));
    EXPECT_EQ((*startMin)[3], base::Value("00"));
}

TEST(PeriodTimesLocale, TheFirstPreferredLanguageChoosesThePickersLocale)
{
    EXPECT_EQ(ClassTimeSetVC::pickerLocale("zh-Hans"), "zh-Hans");
    EXPECT_EQ(ClassTimeSetVC::pickerLocale("zh-Han"), "zh-Han");
    EXPECT_EQ(ClassTimeSetVC::pickerLocale("en"), "en");
    EXPECT_EQ(ClassTimeSetVC::pickerLocale("fr"), "en");
    EXPECT_EQ(ClassTimeSetVC::pickerLocale("zh-Hant"), "en");
}

} // namespace
