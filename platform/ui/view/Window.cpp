#include "ui/view/Window.h"

#include "base/loop/MainThread.h"
#include "ui/controllers/ViewController.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"

namespace ui {

Window::Window()
    : Window(Screen::main().bounds())
{
    BASE_ASSERT_MAIN_THREAD();
}

Window::Window(const gfx::Rect& frame)
    : View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    layer()->m_role = Layer::Role::WindowBacking;
    layer()->m_model.hidden = true;
    setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    setOpaque(false);
}

void Window::setHidden(bool hidden)
{
    BASE_ASSERT_MAIN_THREAD();
    bool wasHidden = isHidden();
    View::setHidden(hidden);
    if (wasHidden && !hidden)
        Application::shared().windowWasShown(sharedFrom(this));
    else if (!wasHidden && hidden)
        Application::shared().windowWasHidden(*this);
    if (wasHidden != hidden)
        rootViewControllerVisibilityChanged(!hidden);
}

void Window::makeKeyAndVisible()
{
    BASE_ASSERT_MAIN_THREAD();
    makeKeyWindow();
    setHidden(false);
}

void Window::makeKeyWindow() { Application::shared().makeKey(sharedFrom(this)); }

bool Window::isKeyWindow() const { return Application::shared().keyWindow().get() == this; }

void Window::setWindowLevel(double level)
{
    BASE_ASSERT_MAIN_THREAD();
    m_windowLevel = level;
    Layer::markChanged();
}

bool Window::performEscape() { return m_rootViewController && m_rootViewController->performEscape(); }

} // namespace ui
