// The class schedule's course list: from the timetable's lessons to merged courses, and their buttons.
#include "childcare/schedule/ClassScheduleVC.h"

#include "base/system/Random.h"
#include "childcare/schedule/CourseButton.h"
#include "core/helpers/Helper.h"
#include "core/readers/Tool.h"
#include "ui/scroll/ScrollView.h"

#include <map>

namespace childcare {

namespace {

    bool isNamed(const WeekCourse& course)
    {
        return core::Helper::isNOTStringNullOrWhitespace(
            course.courseName ? std::optional<base::Value>(*course.courseName) : std::nullopt);
    }

    bool continues(const WeekCourse& block, const WeekCourse& next)
    {
        return integerOf(block.lesson) + integerOf(block.lessonsNum) <= ClassScheduleVC::lessons && isNamed(block)
            && isNamed(next) && *block.courseName == *next.courseName;
    }

} // namespace

ClassScheduleVC::Courses ClassScheduleVC::handleWeek(core::Lumet_ClassInfo& timetable)
{
    Courses courses;
    int dayNumber = 0;
    for (const auto& day : core::Tool::getClassInfoWeek(timetable)) {
        std::string dayText = std::to_string(++dayNumber);
        for (size_t index = 0; index < day.data.size(); ++index) {
            const auto& record = day.data[index];
            if (record)
                record->weekday = dayText;
            auto course = WeekCourse::withLesson(record.get());
            // A lesson is where it stands in its day, whatever number the service gave it.
            course->lesson = std::to_string(index + 1);
            courses.push_back(std::move(course));
        }
    }
    return courses;
}

ClassScheduleVC::Courses ClassScheduleVC::getNewWeekCourses(const Courses& courses)
{
    Courses merged;
    for (const auto& course : courses) {
        if (!merged.empty() && continues(*merged.back(), *course)) {
            auto& block = *merged.back();
            block.lessonsNum = std::to_string(integerOf(course->lesson) + 1 - integerOf(block.lesson));
            block.endH = course->endH;
            block.endM = course->endM;
            continue;
        }
        merged.push_back(course);
    }
    return merged;
}

gfx::Color ClassScheduleVC::handleRandomColorStr(std::string_view text)
{
    std::vector<double> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = std::min(text.find(',', start), text.size());
        parts.push_back(base::Value(std::string(text.substr(start, comma - start))).doubleValue());
        start = comma + 1;
    }
    if (parts.size() < 3)
        return gfx::Color::lightGray();
    return gfx::Color::rgb(
        static_cast<float>(parts[0] / 255), static_cast<float>(parts[1] / 255), static_cast<float>(parts[2] / 255));
}

size_t ClassScheduleVC::randomColourIndex() { return base::Random::shared().nextBelow(colorTable.size()); }

void ClassScheduleVC::loadLoacalData()
{
    m_arrStartHour = std::shared_ptr<std::vector<base::Value>>(m_classInfo, &m_classInfo->start_H);
    m_arrStartMin = std::shared_ptr<std::vector<base::Value>>(m_classInfo, &m_classInfo->start_M);
    m_arrEndHour = std::shared_ptr<std::vector<base::Value>>(m_classInfo, &m_classInfo->end_H);
    m_arrEndMin = std::shared_ptr<std::vector<base::Value>>(m_classInfo, &m_classInfo->end_M);
    m_arrClassTime.clear();
    for (size_t index = 0; index < m_classInfo->start_H.size(); ++index) {
        WeekCourse period;
        period.startH = m_classInfo->start_H[index];
        if (index < m_classInfo->start_M.size() && index < m_classInfo->end_H.size()
            && index < m_classInfo->end_M.size()) {
            period.startM = m_classInfo->start_M[index];
            period.endH = m_classInfo->end_H[index];
            period.endM = m_classInfo->end_M[index];
        }
        m_arrClassTime.push_back(period.timeText());
    }
    handleData(getNewWeekCourses(handleWeek(*m_classInfo)));
}

void ClassScheduleVC::handleData(const Courses& courses)
{
    for (const auto& button : courseButtons())
        button->removeFromSuperview();
    if (courses.empty())
        return;
    std::map<std::string, size_t> nameNumbers;
    for (const auto& course : courses)
        nameNumbers.emplace(course->courseName.value_or(""), nameNumbers.size());
    double unit = view()->bounds().width() / 5.5;
    for (const auto& course : courses) {
        if (isNamed(*course))
            addCourseButton(course, nameNumbers[*course->courseName], unit);
    }
    addLessonNumberCovers(unit);
}

void ClassScheduleVC::addCourseButton(const std::shared_ptr<WeekCourse>& course, size_t nameNumber, double unit)
{
    int day = integerOf(course->day);
    int lesson = integerOf(course->lesson);
    int span = integerOf(course->lessonsNum);
    // Saturday and Sunday have no column; a course is always within its day.
    if (day < 1 || day > shownDays || lesson < 1 || span < 1 || lesson + span - 1 > lessons)
        return;
    auto button
        = CourseButton::make({ (day - 0.5) * unit + 2, rowHeight * lesson - 49, unit - 4, rowHeight * span - 2 });
    button->setWeekCourse(course);
    size_t colour = nameNumber < m_colors.size() ? nameNumber : randomColourIndex();
    button->setBackgroundColor(handleRandomColorStr(m_colors[colour]));
    button->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->courseClick(static_cast<CourseButton&>(sender));
        },
        ui::ControlEvent::TouchUpInside);
    m_weekScrollView->addSubview(button);
}

void ClassScheduleVC::addLessonNumberCovers(double unit)
{
    if (!m_lessonNumberCovers.empty())
        return;
    for (int row = 0; row < lessons; ++row) {
        auto cover = std::make_shared<ui::Button>(gfx::Rect { 0, rowHeight * row, unit / 2, rowHeight });
        cover->setBackgroundColor(gfx::Color::clear());
        cover->setTag(row);
        cover->addAction(
            [weak = ui::weakFrom(this)](ui::Control& sender) {
                if (auto self = weak.lock())
                    self->clickNumClass(static_cast<ui::Button&>(sender));
            },
            ui::ControlEvent::TouchUpInside);
        m_weekScrollView->addSubview(cover);
        m_lessonNumberCovers.push_back(cover);
    }
}

std::vector<std::shared_ptr<CourseButton>> ClassScheduleVC::courseButtons() const
{
    std::vector<std::shared_ptr<CourseButton>> buttons;
    if (!m_weekScrollView)
        return buttons;
    for (const auto& subview : m_weekScrollView->subviews()) {
        if (auto button = std::dynamic_pointer_cast<CourseButton>(subview))
            buttons.push_back(button);
    }
    return buttons;
}

} // namespace childcare
