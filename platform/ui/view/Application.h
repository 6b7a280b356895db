// ui::Application: the running application as the UI sees it: its windows in order (back to front: by
// level, then the order they were last shown), the key window, the status bar model (a 20-point strip with
// a hidden flag, a style and a network-activity flag; portrait only) and the handler its input goes to.
// It keeps windows weakly: a window nobody keeps is gone from the list. Main thread.
//
//   auto key = ui::Application::shared().keyWindow();
//   ui::Application::shared().setStatusBarHidden(true, ui::StatusBarAnimation::None);
#pragma once

#include "gfx/geometry/Rect.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

class InputHandler;
class Window;

enum class StatusBarStyle { Default = 0, LightContent = 1 };
// What the status strip shows of the network: nothing yet known, no network, or a network to reach.
enum class StatusBarNetwork { Unknown, Offline, Online };
enum class StatusBarAnimation { None = 0, Fade = 1, Slide = 2 };
enum class InterfaceOrientation { Portrait = 1 };

class Application {
public:
    static Application& shared();

    // Windows that have been shown and still exist, back to front (hidden ones included).
    std::vector<std::shared_ptr<Window>> windows() const;
    std::shared_ptr<Window> keyWindow() const { return m_keyWindow.lock(); }

    bool isStatusBarHidden() const { return m_statusBarHidden; }
    // The bar shows or hides at once whatever the animation.
    void setStatusBarHidden(bool hidden, StatusBarAnimation animation = StatusBarAnimation::None);
    StatusBarStyle statusBarStyle() const { return m_statusBarStyle; }
    void setStatusBarStyle(StatusBarStyle style);
    bool isNetworkActivityIndicatorVisible() const { return m_networkActivityIndicatorVisible; }
    void setNetworkActivityIndicatorVisible(bool visible);
    StatusBarNetwork statusBarNetwork() const { return m_statusBarNetwork; }
    void setStatusBarNetwork(StatusBarNetwork network);
    // The strip at the top of the screen; zero height while hidden.
    gfx::Rect statusBarFrame() const;
    InterfaceOrientation statusBarOrientation() const { return InterfaceOrientation::Portrait; }
    double statusBarOrientationAnimationDuration() const { return 0.3; }

    const std::shared_ptr<InputHandler>& inputHandler() const { return m_inputHandler; }
    // nullptr puts the default handler back.
    void setInputHandler(std::shared_ptr<InputHandler> handler);

    // Called by windows.
    void windowWasShown(const std::shared_ptr<Window>& window);
    void windowWasHidden(Window& window);
    void makeKey(const std::shared_ptr<Window>& window);

private:
    Application();

    struct Entry {
        std::weak_ptr<Window> window;
        uint64_t shownOrder;
    };
    std::vector<Entry> m_windows;
    uint64_t m_nextShownOrder { 1 };
    std::weak_ptr<Window> m_keyWindow;
    bool m_statusBarHidden { false };
    StatusBarStyle m_statusBarStyle { StatusBarStyle::Default };
    StatusBarNetwork m_statusBarNetwork { StatusBarNetwork::Unknown };
    bool m_networkActivityIndicatorVisible { false };
    std::shared_ptr<InputHandler> m_inputHandler;
};

} // namespace ui
