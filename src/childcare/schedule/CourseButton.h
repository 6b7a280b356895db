// childcare::CourseButton: a course of the class schedule's grid drawn as a button: rounded corners, the
// course name as its title (18-point system font, centred, wrapping by character on as many lines as it
// takes). The schedule sets its background colour. Main thread; made with make().
//
//   auto button = childcare::CourseButton::make({ 31, 1, 54, 98 });
//   button->setWeekCourse(course);
//   button->setBackgroundColor(colour);
#pragma once

#include "childcare/schedule/WeekCourse.h"
#include "ui/controls/Button.h"

#include <memory>

namespace childcare {

class CourseButton : public ui::Button {
public:
    static constexpr double cornerRadius = 5;
    static constexpr double titleFontSize = 18;

    static std::shared_ptr<CourseButton> make(const gfx::Rect& frame);
    explicit CourseButton(const gfx::Rect& frame);

    const std::shared_ptr<WeekCourse>& weekCourse() const { return m_weekCourse; }
    // Also sets the title for the normal state to the course's name.
    void setWeekCourse(std::shared_ptr<WeekCourse> course);

    // The title takes the whole button, so a long name wraps onto further lines. The button clips to its
    // rounded outline only while the title's drawing reaches where the clip would change a pixel: a rounded
    // clip costs a masked composite at every frame.
    void layoutSubviews() override;

private:
    // Draws the title now and tells whether all of it lies well within the rounded outline.
    bool titleClearOfCorners();

    std::shared_ptr<WeekCourse> m_weekCourse;
};

} // namespace childcare
