// ui::ResponderInputHandler: the default input handler. A finger that goes down is bound to the front-most
// visible window that contains the point and to the view that window's hit test finds there; its moves,
// lift and cancellation go to that same view whatever changes meanwhile (a later change of user interaction
// affects only new touches). Each phase reaches the view's touches... method, which passes it along the
// responder chain unless overridden. A finger that finds no view is ignored until it lifts. Other input is
// not handled here. Main thread.
#pragma once

#include "ui/input/InputHandler.h"

#include <map>
#include <memory>

namespace ui {

class ResponderInputHandler : public InputHandler {
public:
    void touch(const TouchEvent& event) override;

private:
    std::map<int, std::shared_ptr<Touch>> m_touches;
};

} // namespace ui
