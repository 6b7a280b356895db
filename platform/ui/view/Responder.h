// ui::Responder: an object in the chain that touches travel along. A touch is delivered to the view it was
// bound to; each touches... method that is not overridden passes the touches on to nextResponder(). Views
// answer their superview (or the controller set on a controller's root view). Main thread.
//
//   class Pad : public ui::View {
//       void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override
//       {
//           ui::View::touchesBegan(touches, event);   // forwards, as the platform's super does
//           setNeedsDisplay();
//       }
//   };
#pragma once

#include "ui/input/Touch.h"

#include <memory>

namespace ui {

class Responder : public std::enable_shared_from_this<Responder> {
public:
    virtual ~Responder() = default;

    virtual std::shared_ptr<Responder> nextResponder() const { return nullptr; }

    virtual void touchesBegan(const TouchSet& touches, const Event* event);
    virtual void touchesMoved(const TouchSet& touches, const Event* event);
    virtual void touchesEnded(const TouchSet& touches, const Event* event);
    virtual void touchesCancelled(const TouchSet& touches, const Event* event);

    // The dismissing and confirming actions (a desktop host's Escape and Return keys). performEscape dismisses
    // what stands in front (an alert or sheet by its cancel button, an open drawer or panel) or else goes back
    // one screen; performReturn answers with the default choice. Each tells whether it acted; by default
    // neither does anything.
    virtual bool performEscape() { return false; }
    virtual bool performReturn() { return false; }
};

// The shared (or weak) handle of an object that derives from Responder, typed as that object.
template <typename T> std::shared_ptr<T> sharedFrom(T* object)
{
    return std::static_pointer_cast<T>(object->shared_from_this());
}

template <typename T> std::weak_ptr<T> weakFrom(T* object)
{
    return std::static_pointer_cast<T>(object->weak_from_this().lock());
}

} // namespace ui
