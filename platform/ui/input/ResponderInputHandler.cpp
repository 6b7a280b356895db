#include "ui/input/ResponderInputHandler.h"

#include "base/loop/MainThread.h"
#include "ui/view/Application.h"
#include "ui/view/Window.h"

namespace ui {

namespace {

    std::shared_ptr<Touch> bindTouch(const TouchEvent& event)
    {
        auto windows = Application::shared().windows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            const auto& window = *it;
            if (window->isHidden() || !window->frame().contains(event.location))
                continue;
            // A window's layer sits in screen space.
            gfx::Point inWindow = window->layer()->convertPointFrom(event.location, nullptr);
            auto view = window->hitTest(inWindow, nullptr);
            if (!view)
                return nullptr;
            return std::make_shared<Touch>(window, view, inWindow, event.timestamp);
        }
        return nullptr;
    }

} // namespace

void ResponderInputHandler::touch(const TouchEvent& event)
{
    BASE_ASSERT_MAIN_THREAD();
    std::shared_ptr<Touch> touch;
    if (event.phase == TouchPhase::Began) {
        touch = bindTouch(event);
        if (!touch)
            return;
        m_touches[event.finger] = touch;
    } else {
        auto found = m_touches.find(event.finger);
        if (found == m_touches.end())
            return;
        touch = found->second;
        gfx::Point inWindow = event.location;
        if (auto window = touch->window())
            inWindow = window->layer()->convertPointFrom(event.location, nullptr);
        touch->update(event.phase, inWindow, event.timestamp);
        if (event.phase == TouchPhase::Ended || event.phase == TouchPhase::Cancelled)
            m_touches.erase(found);
    }
    auto view = touch->view();
    if (!view)
        return;
    TouchSet touches { touch };
    Event wrapper(event.timestamp, touches);
    switch (event.phase) {
    case TouchPhase::Began:
        view->touchesBegan(touches, &wrapper);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        view->touchesMoved(touches, &wrapper);
        break;
    case TouchPhase::Ended:
        view->touchesEnded(touches, &wrapper);
        break;
    case TouchPhase::Cancelled:
        view->touchesCancelled(touches, &wrapper);
        break;
    }
}

} // namespace ui
