// childcare::InputView: the course entry of the class schedule: a pop-up panel with a close button, the
// lesson's name in an editable field (at most six characters, counted in code points and cut only once an
// input method has finished composing), the lesson's time shown in a field that never takes focus, and a
// Done button, which Return in the name presses. While the name is edited the panel moves up out of the keyboard's way
// and comes back after. It sends nothing and calls nobody: the opener attaches its own actions to btnCancel and
// btnDone. Main thread; made with make().
//
//   auto entry = childcare::InputView::make({ 53, 100, 213, 240 });
//   entry->setWeekCourse(course);
//   entry->txtCourseName()->setText(*course->courseName);
//   entry->btnDone()->addAction([weak](ui::Control&) { ... }, ui::ControlEvent::TouchUpInside);
#pragma once

#include "childcare/schedule/WeekCourse.h"
#include "ui/controls/TextFieldDelegate.h"
#include "ui/view/View.h"

#include <memory>

namespace core {
class KeyboardLift;
}
namespace ui {
class Button;
class ImageView;
class TextField;
}

namespace childcare {

class InputView : public ui::View, public ui::TextFieldDelegate {
public:
    static constexpr size_t maximumNameLength = 6;

    static std::shared_ptr<InputView> make(const gfx::Rect& frame);
    explicit InputView(const gfx::Rect& frame);

    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    const std::shared_ptr<ui::Button>& btnCancel() const { return m_btnCancel; }
    const std::shared_ptr<ui::TextField>& txtCourseName() const { return m_txtCourseName; }
    const std::shared_ptr<ui::TextField>& txtTime() const { return m_txtTime; }
    const std::shared_ptr<ui::Button>& btnDone() const { return m_btnDone; }
    const std::shared_ptr<WeekCourse>& weekCourse() const { return m_weekCourse; }
    void setWeekCourse(std::shared_ptr<WeekCourse> course) { m_weekCourse = std::move(course); }

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    // The name field's editing-changed action.
    void textFieldDidChange(ui::TextField& field);

    void didMoveToWindow() override;

private:
    void initView();
    // How far the panel moves up while the keyboard is out: from the name field and the height the on-screen
    // keyboard covers (none on a desktop).
    double liftDistance() const;
    std::shared_ptr<ui::TextField> makeField(const gfx::Rect& frame);

    std::shared_ptr<core::KeyboardLift> m_lift;
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::Button> m_btnCancel;
    std::shared_ptr<ui::TextField> m_txtCourseName;
    std::shared_ptr<ui::TextField> m_txtTime;
    std::shared_ptr<ui::Button> m_btnDone;
    std::shared_ptr<WeekCourse> m_weekCourse;
};

} // namespace childcare
