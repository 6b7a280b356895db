#include "ui/view/Application.h"

#include "base/loop/MainThread.h"
#include "ui/input/EventDispatcher.h"
#include "ui/layer/Layer.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace ui {

Application& Application::shared()
{
    static Application* application = new Application;
    return *application;
}

Application::Application()
    : m_inputHandler(std::make_shared<EventDispatcher>())
{
}

std::vector<std::shared_ptr<Window>> Application::windows() const
{
    struct Shown {
        std::shared_ptr<Window> window;
        uint64_t order;
    };
    std::vector<Shown> alive;
    for (const Entry& entry : m_windows) {
        if (auto window = entry.window.lock())
            alive.push_back({ window, entry.shownOrder });
    }
    std::stable_sort(alive.begin(), alive.end(), [](const Shown& a, const Shown& b) {
        if (a.window->windowLevel() != b.window->windowLevel())
            return a.window->windowLevel() < b.window->windowLevel();
        return a.order < b.order;
    });
    std::vector<std::shared_ptr<Window>> result;
    for (Shown& shown : alive)
        result.push_back(std::move(shown.window));
    return result;
}

void Application::windowWasShown(const std::shared_ptr<Window>& window)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_windows, [&](const Entry& e) { return e.window.expired() || e.window.lock() == window; });
    m_windows.push_back({ window, m_nextShownOrder++ });
    Layer::markChanged();
}

void Application::windowWasHidden(Window& window)
{
    Layer::markChanged();
    if (m_keyWindow.lock().get() != &window)
        return;
    // The key status passes to the front-most window still showing.
    m_keyWindow.reset();
    auto shown = windows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if (!(*it)->isHidden()) {
            m_keyWindow = *it;
            break;
        }
    }
}

void Application::makeKey(const std::shared_ptr<Window>& window)
{
    bool known
        = std::any_of(m_windows.begin(), m_windows.end(), [&](const Entry& e) { return e.window.lock() == window; });
    if (!known)
        m_windows.push_back({ window, m_nextShownOrder++ });
    m_keyWindow = window;
}

void Application::setStatusBarHidden(bool hidden, StatusBarAnimation)
{
    m_statusBarHidden = hidden;
    Layer::markChanged();
}

void Application::setStatusBarStyle(StatusBarStyle style)
{
    m_statusBarStyle = style;
    Layer::markChanged();
}

void Application::setNetworkActivityIndicatorVisible(bool visible)
{
    m_networkActivityIndicatorVisible = visible;
    Layer::markChanged();
}

void Application::setStatusBarNetwork(StatusBarNetwork network)
{
    if (network == m_statusBarNetwork)
        return;
    m_statusBarNetwork = network;
    Layer::markChanged();
}

gfx::Rect Application::statusBarFrame() const
{
    gfx::Rect screen = Screen::main().bounds();
    return { screen.minX(), screen.minY(), screen.width(), m_statusBarHidden ? 0 : Screen::statusBarHeight };
}

void Application::setInputHandler(std::shared_ptr<InputHandler> handler)
{
    m_inputHandler = handler ? std::move(handler) : std::make_shared<EventDispatcher>();
}

} // namespace ui
