// ui::Window: the view at the top of a tree that is shown on the screen. A window starts hidden; showing it
// (setHidden(false) or makeKeyAndVisible()) puts it in the application's list of windows, in front of the
// windows of its level shown before it; hiding it takes it off the screen but keeps it in the list. The
// application does not keep windows alive: a window the program lets go leaves the screen. Its frame is in
// screen points; removeFromSuperview() does nothing. Main thread.
//
//   auto window = std::make_shared<ui::Window>();        // the screen's bounds
//   window->addSubview(rootView);
//   window->makeKeyAndVisible();
#pragma once

#include "ui/view/View.h"

namespace ui {

class ViewController;

class Window : public View {
public:
    // The screen's bounds.
    Window();
    explicit Window(const gfx::Rect& frame);

    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    // Windows of a higher level are in front; 0 is the normal level.
    double windowLevel() const { return m_windowLevel; }
    void setWindowLevel(double level);

    void setHidden(bool hidden) override;
    void removeFromSuperview() override { }

    // The controller whose view fills the window (behind the window's other subviews, stretching with it).
    // The controller on top (the root, or what it presents) hears the appearance callbacks as the window
    // shows and hides, and when the root is replaced while the window shows.
    const std::shared_ptr<ViewController>& rootViewController() const { return m_rootViewController; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // Escape goes to the root controller (nothing acts without one).
    bool performEscape() override;

private:
    void rootViewControllerVisibilityChanged(bool visible);

    std::shared_ptr<ViewController> m_rootViewController;
    double m_windowLevel { 0 };
};

} // namespace ui
