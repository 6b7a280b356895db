// The window's root view controller: kept apart from Window.cpp because it is where the window meets the
// controller layer.
#include "ui/controllers/ViewController.h"
#include "ui/view/Window.h"

#include "base/loop/MainThread.h"

namespace ui {

namespace {

    // The controller the user sees: the root, or the last of what it presents.
    std::shared_ptr<ViewController> topController(std::shared_ptr<ViewController> controller)
    {
        while (controller) {
            auto presented = controller->presentedViewController();
            if (!presented)
                break;
            controller = presented;
        }
        return controller;
    }

    void transition(const std::shared_ptr<ViewController>& controller, bool appearing)
    {
        if (!controller)
            return;
        controller->beginAppearanceTransition(appearing, false);
        controller->endAppearanceTransition();
    }

} // namespace

void Window::setRootViewController(std::shared_ptr<ViewController> controller)
{
    BASE_ASSERT_MAIN_THREAD();
    if (controller == m_rootViewController)
        return;
    auto old = std::exchange(m_rootViewController, controller);
    bool visible = !isHidden();
    if (old) {
        if (visible)
            old->beginAppearanceTransition(false, false);
        if (old->isViewLoaded() && old->view()->superview().get() == this)
            old->view()->removeFromSuperview();
        if (visible)
            old->endAppearanceTransition();
    }
    if (!controller)
        return;
    const auto& view = controller->view();
    view->setFrame(bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    insertSubviewAtIndex(view, 0);
    if (visible)
        transition(topController(controller), true);
}

void Window::rootViewControllerVisibilityChanged(bool visible)
{
    transition(topController(m_rootViewController), visible);
}

} // namespace ui
