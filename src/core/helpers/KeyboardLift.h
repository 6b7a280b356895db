// core::KeyboardLift: keeps a view clear of the on-screen keyboard. While started it observes the keyboard's
// will-show and will-hide notifications; when the keyboard comes up the view moves to the y that the
// placement gives for its resting frame and the keyboard's top edge (both in the view's superview), and
// when the keyboard goes down it moves back, each time in the view animation "ResizeForKeyboard" of 0.3 s.
// stop() ends the observing and puts the view back at once. A view that has gone is left alone. Main thread.
//
//   m_lift = core::KeyboardLift::make(panel, [](const gfx::Rect& frame, double keyboardTop) {
//       return std::min(frame.minY(), keyboardTop - frame.height()); });
//   m_lift->start();   // viewWillAppear; m_lift->stop() in viewWillDisappear
#pragma once

#include "gfx/geometry/Rect.h"

#include <functional>
#include <memory>
#include <optional>

namespace ui {
struct KeyboardTransition;
class View;
}

namespace core {

class KeyboardLift : public std::enable_shared_from_this<KeyboardLift> {
public:
    static constexpr const char* AnimationName = "ResizeForKeyboard";
    static constexpr double AnimationDuration = 0.3;

    // The view's y while the keyboard is up, from its resting frame and the keyboard's top edge.
    using Placement = std::function<double(const gfx::Rect& viewFrame, double keyboardTop)>;

    static std::shared_ptr<KeyboardLift> make(std::weak_ptr<ui::View> view, Placement placement);
    KeyboardLift(std::weak_ptr<ui::View> view, Placement placement);
    ~KeyboardLift();

    void start();
    void stop();
    bool isLifted() const { return m_restingFrame.has_value(); }

private:
    void keyboardWillShow(const ui::KeyboardTransition& transition);
    void keyboardWillHide();
    void moveTo(ui::View& view, const gfx::Rect& frame);

    std::weak_ptr<ui::View> m_view;
    Placement m_placement;
    std::optional<gfx::Rect> m_restingFrame;
    bool m_observing { false };
};

} // namespace core
