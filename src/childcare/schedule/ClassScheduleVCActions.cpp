// The class schedule's taps: day cells, course buttons, the course entry, lesson numbers and their tip.
#include "childcare/schedule/ClassScheduleVC.h"

#include "childcare/schedule/ClassTimeSetVC.h"
#include "childcare/schedule/CourseButton.h"
#include "childcare/schedule/InputView.h"
#include "kit/popover/PopTip.h"
#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/scroll/ScrollView.h"
#include "ui/controls/TextField.h"

namespace childcare {

namespace {

    constexpr gfx::Color tipTextColour = gfx::Color::rgb(0.22, 0.72, 0.85);

    // The timetable's record of a day (1 Monday) and lesson (1 to 8), or nullptr.
    std::shared_ptr<core::Lumet_ClassInfoWeek> lessonRecord(core::Lumet_ClassInfo& timetable, int day, int lesson)
    {
        if (day < 1 || day > 7 || lesson < 1)
            return nullptr;
        auto& records = timetable.arr[static_cast<size_t>(day - 1)];
        return static_cast<size_t>(lesson) <= records.size() ? records[static_cast<size_t>(lesson - 1)] : nullptr;
    }

} // namespace

void ClassScheduleVC::addClickOne(ui::Button& cell)
{
    int tag = cell.tag();
    if (m_clickTag != 0 && m_clickTag == tag && holdsTimetable()) {
        int day = tag / 10;
        int lesson = tag % 10;
        if (auto record = lessonRecord(*m_classInfo, day, lesson)) {
            record->weekday = std::to_string(day);
            record->lesson = std::to_string(lesson);
            auto course = WeekCourse::withLesson(record.get());
            // Made afresh rather than assigned: GCC 12 at -O2 reports a false overlap (-Wrestrict) in the assignment.
            course->weeks.emplace("0");
            openInputView(std::move(course));
        }
    } else if (m_clickTag != 0 && m_clickTag != tag) {
        if (auto marked = std::dynamic_pointer_cast<ui::Button>(m_weekScrollView->viewWithTag(m_clickTag))) {
            marked->setSelected(false);
            marked->setImage(gfx::Image::named("default_add"), ui::ControlState::Normal);
        }
    }
    m_clickTag = tag;
    cell.setSelected(true);
    cell.setImage(gfx::Image::named("add_class"), ui::ControlState::Normal);
}

void ClassScheduleVC::courseClick(CourseButton& button)
{
    removeInputViews();
    if (holdsTimetable() && button.weekCourse())
        openInputView(button.weekCourse());
}

void ClassScheduleVC::openInputView(std::shared_ptr<WeekCourse> course)
{
    // One entry at a time: an older one would be left without its course once this one closes.
    removeInputViews();
    double width = ui::Screen::main().bounds().width();
    auto entry = InputView::make({ width / 6, barBottom + 100, 2 * width / 3, 3 * width / 4 });
    entry->txtCourseName()->setText(course->courseName.value_or(""));
    entry->txtTime()->setText(course->timeText());
    entry->setWeekCourse(std::move(course));
    entry->btnCancel()->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->cancelChange();
        },
        ui::ControlEvent::TouchUpInside);
    entry->btnDone()->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->submitChange();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(entry);
    m_inputView = entry;
}

void ClassScheduleVC::removeInputViews()
{
    auto subviews = view()->subviews();
    for (const auto& subview : subviews) {
        if (std::dynamic_pointer_cast<InputView>(subview))
            subview->removeFromSuperview();
    }
    m_inputView.reset();
}

void ClassScheduleVC::submitChange()
{
    auto entry = m_inputView;
    if (!entry)
        return;
    const auto& course = entry->weekCourse();
    if (holdsTimetable() && course) {
        if (auto record = lessonRecord(*m_classInfo, integerOf(course->day), integerOf(course->lesson)))
            record->courseName = entry->txtCourseName()->text();
        save();
    }
    entry->removeFromSuperview();
    m_inputView.reset();
}

void ClassScheduleVC::cancelChange() { removeInputViews(); }

bool ClassScheduleVC::performEscape()
{
    if (!m_inputView)
        return ViewController::performEscape();
    cancelChange();
    return true;
}

void ClassScheduleVC::clickNumClass(ui::Button& cover)
{
    m_popTip->hide();
    size_t row = static_cast<size_t>(cover.tag());
    if (m_popTip->isVisible() || row >= m_arrClassTime.size())
        return;
    m_popTip->setPopoverColor(gfx::Color::white());
    gfx::TextAttributes attributes;
    attributes.font = gfx::Font::named("Avenir-Medium", 18);
    attributes.color = tipTextColour;
    // The tip points at the tapped cell where it is on screen, header and scrolling taken into account.
    gfx::Rect from = m_weekScrollView->convertRectTo(cover.frame(), view().get());
    m_popTip->showAttributedTextWithDuration(
        gfx::AttributedString(m_arrClassTime[row], attributes), kit::PopTip::Right, tipMaximumWidth, view(), from, 0);
}

void ClassScheduleVC::pushSetTimeVC()
{
    auto navigation = navigationController();
    if (!navigation || !holdsTimetable())
        return;
    m_classTimeSetVC->setArrStartHour(m_arrStartHour);
    m_classTimeSetVC->setArrStartMin(m_arrStartMin);
    m_classTimeSetVC->setArrEndHour(m_arrEndHour);
    m_classTimeSetVC->setArrEndMin(m_arrEndMin);
    navigation->pushViewController(m_classTimeSetVC, true);
}

void ClassScheduleVC::setTime(
    const Periods& startHour, const Periods& startMin, const Periods& endHour, const Periods& endMin)
{
    if (!holdsTimetable())
        return;
    // The arguments may be the timetable's own lists: copy before replacing.
    Periods starts(startHour), startMinutes(startMin), ends(endHour), endMinutes(endMin);
    m_classInfo->start_H = std::move(starts);
    m_classInfo->start_M = std::move(startMinutes);
    m_classInfo->end_H = std::move(ends);
    m_classInfo->end_M = std::move(endMinutes);
    save();
}

void ClassScheduleVC::scrollViewDidEndDragging(ui::ScrollView&, bool) { loadNetData(); }

} // namespace childcare
