#include "childcare/schedule/CourseButton.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace childcare {

std::shared_ptr<CourseButton> CourseButton::make(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<CourseButton>(frame);
}

CourseButton::CourseButton(const gfx::Rect& frame)
    : ui::Button(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    layer()->setCornerRadius(cornerRadius);
    layer()->setMasksToBounds(true);
    titleLabel()->setFont(gfx::Font::system(titleFontSize));
    titleLabel()->setTextAlignment(gfx::TextAlignment::Center);
    titleLabel()->setLineBreakMode(gfx::LineBreakMode::CharWrap);
    titleLabel()->setNumberOfLines(0);
}

void CourseButton::setWeekCourse(std::shared_ptr<WeekCourse> course)
{
    BASE_ASSERT_MAIN_THREAD();
    m_weekCourse = std::move(course);
    setTitle(m_weekCourse ? describe(m_weekCourse->courseName) : std::string(), ui::ControlState::Normal);
}

void CourseButton::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::layoutSubviews();
    gfx::Rect area = bounds();
    double height = std::min(titleLabel()->sizeThatFits(area.size).height, area.height());
    titleLabel()->setFrame({ area.minX(), area.midY() - height / 2, area.width(), height });
}

} // namespace childcare
