#include "TouchFixture.h"

#include "base/time/Calendar.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/PickerView.h"

namespace {

using namespace std::chrono_literals;

class HoursAndMinutes : public ui::PickerViewDataSource, public ui::PickerViewDelegate {
public:
    size_t hours = 24;
    std::vector<std::pair<size_t, size_t>> selections;

    size_t numberOfComponentsInPickerView(ui::PickerView&) override { return 2; }
    size_t pickerViewNumberOfRowsInComponent(ui::PickerView&, size_t component) override
    {
        return component == 0 ? hours : 60;
    }
    std::optional<std::string> pickerViewTitleForRow(ui::PickerView&, size_t row, size_t) override
    {
        return std::to_string(row);
    }
    void pickerViewDidSelectRow(ui::PickerView&, size_t row, size_t component) override
    {
        selections.emplace_back(row, component);
    }
};

class Pickers : public test::TouchFixture {
protected:
    void SetUp() override
    {
        test::TouchFixture::SetUp();
        picker = addView<ui::PickerView>({ 0, 100, 320, 216 });
        model = std::make_shared<HoursAndMinutes>();
        picker->setDataSource(model);
        picker->setDelegate(model);
    }

    // The centre line of the picker in screen coordinates, in the wheel of the given half.
    gfx::Point centreOf(size_t component) { return { component == 0 ? 80.0 : 240.0, 100 + 108.0 }; }

    std::shared_ptr<ui::PickerView> picker;
    std::shared_ptr<HoursAndMinutes> model;
};

TEST_F(Pickers, SelectingInCodeClampsAndTellsNobody)
{
    picker->selectRow(30, 0, true);
    EXPECT_EQ(picker->selectedRowInComponent(0), 23);
    picker->selectRow(-3, 1);
    EXPECT_EQ(picker->selectedRowInComponent(1), 0);
    EXPECT_EQ(picker->selectedRowInComponent(2), -1);
    EXPECT_TRUE(model->selections.empty());

    model->hours = 12;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 11);
}

TEST_F(Pickers, DraggingAWheelTurnsItARowPerRowHeightAndTellsTheDelegateOnLift)
{
    picker->selectRow(10, 1);
    gfx::Point start = centreOf(1);
    finger.drag(start, start + gfx::Point { 0, -2 * ui::PickerView::rowHeight - 5 }, 0.2s, 4);
    EXPECT_EQ(picker->selectedRowInComponent(1), 12);
    EXPECT_EQ(model->selections, (std::vector<std::pair<size_t, size_t>> { { 12, 1 } }));

    finger.wait(1s).drag(start, start + gfx::Point { 0, 12 }, 0.1s, 2).wait(1s);
    finger.drag(start, start + gfx::Point { 0, -12 }, 0.1s, 2);
    EXPECT_EQ(model->selections.size(), 1u) << "back where it started: nothing selected";
}

TEST_F(Pickers, TappingARowBelowTheCentreTurnsTheWheelToIt)
{
    finger.tap(centreOf(0) + gfx::Point { 0, ui::PickerView::rowHeight });
    EXPECT_EQ(picker->selectedRowInComponent(0), 1);
    EXPECT_EQ(model->selections, (std::vector<std::pair<size_t, size_t>> { { 1, 0 } }));
}

TEST_F(Pickers, DatePickerKeepsTheDayAndReadsTheWheels)
{
    auto datePicker = addView<ui::DatePicker>({ 0, 300, 300, 100 });
    datePicker->setDatePickerMode(ui::DatePickerMode::CountDownTimer);
    int changes = 0;
    datePicker->addAction([&](ui::Control&) { ++changes; }, ui::ControlEvent::ValueChanged);

    base::Calendar calendar = base::Calendar::current();
    base::Date nine = *calendar.date({ .year = 2000, .month = 1, .day = 1, .hour = 9, .minute = 5, .second = 30 });
    datePicker->setDate(nine, true);
    base::DateComponents picked = calendar.components(datePicker->date());
    EXPECT_EQ(picked, calendar.components(nine.dateByAddingTimeInterval(-30)));
    EXPECT_EQ(datePicker->countDownDuration(), 9 * 3600 + 5 * 60);
    EXPECT_EQ(changes, 0);

    finger.tap({ 225, 350 + ui::PickerView::rowHeight });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(calendar.components(datePicker->date()).minute, 6);

    datePicker->setCountDownDuration(23 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(datePicker->hour(), 23);
    EXPECT_EQ(datePicker->minute(), 59);
}

} // namespace
