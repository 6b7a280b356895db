// ui::InputHandler: where the application's input goes. A host turns its window system's events into the
// plain events of InputEvents.h and hands them to the installed handler (Application::inputHandler()). The
// default one, EventDispatcher, delivers touches to gesture recognisers and views and typed text to the
// field being edited. Main thread.
//
//   ui::Application::shared().inputHandler()->touch({ 0, ui::TouchPhase::Began, { 100, 200 }, now });
#pragma once

#include "ui/input/InputEvents.h"

namespace ui {

class InputHandler {
public:
    virtual ~InputHandler() = default;
    virtual void touch(const TouchEvent&) { }
    virtual void scroll(const ScrollEvent&) { }
    virtual void pinch(const PinchEvent&) { }
    // Text typed (UTF-8), after any input-method composition.
    virtual void textInput(const std::string&) { }
    virtual void key(const KeyEvent&) { }
};

} // namespace ui
