// ui::Keyboard: the keyboard as the application sees it: while a text field is the first responder the
// keyboard is up, and on a phone it covers a 216-point panel at the bottom of the screen. Where a physical
// keyboard takes the typing (a desktop window) no on-screen keyboard covers the screen: the keyboard's
// frame is then empty, lying on the screen's bottom edge, so that a lift made to clear it is zero. The host
// says which keyboard it has (setCoversScreen); a phone's is the default. It keeps the first responder (one
// for the whole application), posts willShowNotification when it comes up and willHideNotification when it goes
// down (not when editing moves from one field to another), each with a KeyboardTransition object giving the
// frames in screen coordinates and the animation, and passes typed text and editing keys to the field.
// Tab and Shift+Tab move the editing to the next or previous field of the same window that can take it, in
// reading order (top to bottom, then left to right), wrapping around. Main thread.
//
//   auto token = base::NotificationCenter::defaultCenter().addObserver(ui::Keyboard::willShowNotification,
//       nullptr, [weak](const base::Notification& n) {
//           auto transition = n.objectAs<ui::KeyboardTransition>();
//           if (auto self = weak.lock()) self->lift(transition->endFrame.height(), transition->duration);
//       }, this);
#pragma once

#include "gfx/geometry/Rect.h"
#include "ui/input/InputEvents.h"
#include "ui/view/ViewTypes.h"

#include <memory>
#include <string>

namespace ui {

class TextField;
class View;

struct KeyboardTransition {
    gfx::Rect beginFrame;
    gfx::Rect endFrame;
    double duration;
    AnimationCurve curve;
};

class Keyboard {
public:
    static constexpr const char* willShowNotification = "KeyboardWillShow";
    static constexpr const char* willHideNotification = "KeyboardWillHide";
    // The height of a phone's on-screen keyboard.
    static constexpr double onScreenHeight = 216;
    static constexpr double animationDuration = 0.25;

    static Keyboard& shared();

    // Whether an on-screen keyboard covers the screen while text is edited (see above).
    bool coversScreen() const { return m_coversScreen; }
    void setCoversScreen(bool covers) { m_coversScreen = covers; }

    bool isVisible() const { return m_visible; }
    // Where the keyboard is while it is up, in screen coordinates: the on-screen keyboard's panel, or an
    // empty frame on the screen's bottom edge where none covers the screen.
    gfx::Rect shownFrame() const;
    // Just below the screen, as high as the shown frame.
    gfx::Rect hiddenFrame() const;

    std::shared_ptr<TextField> firstResponder() const { return m_firstResponder.lock(); }
    // Ends the editing of the first responder if it is `view` or inside it (any view: nullptr). Returns
    // whether a field resigned.
    bool endEditing(const View* view = nullptr);

    // From the input handler: text typed (with "\n" for the return key) and editing keys.
    void insertText(const std::string& text);
    void key(KeyEvent::Key key);
    // From an input method: provisional text being composed, and its commitment.
    void setMarkedText(const std::string& text);
    void unmarkText();

    // For TextField: a field about to begin editing takes over (the previous one resigns, the keyboard
    // stays up), then says it has begun (the keyboard comes up if it was down); a field that resigned
    // takes the keyboard down unless another has taken over.
    void fieldWillBecomeFirstResponder(const std::shared_ptr<TextField>& field);
    void fieldDidBecomeFirstResponder(const TextField& field);
    void fieldResigned(const TextField& field);
    // A field that goes away while editing takes the keyboard down with it.
    void editingFieldWentAway();

private:
    Keyboard() = default;
    void post(const char* name, gfx::Rect from, gfx::Rect to);
    void moveToField(const std::shared_ptr<TextField>& from, bool forward);
    // Forgets the editing field and takes the keyboard down if it is up.
    void dropFieldAndHide();

    std::weak_ptr<TextField> m_firstResponder;
    bool m_visible { false };
    bool m_coversScreen { true };
};

} // namespace ui
