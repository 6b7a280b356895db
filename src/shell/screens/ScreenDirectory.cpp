#include "shell/screens/ScreenDirectory.h"

#include "base/loop/MainThread.h"
#include "kit/modal/ModalPresenter.h"
#include "ui/controllers/ViewController.h"

namespace shell {

ScreenDirectory& ScreenDirectory::shared()
{
    static ScreenDirectory directory;
    return directory;
}

void ScreenDirectory::add(std::string name, Factory factory)
{
    BASE_ASSERT_MAIN_THREAD();
    m_factories[std::move(name)] = std::move(factory);
}

void ScreenDirectory::remove(std::string_view name)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto found = m_factories.find(name); found != m_factories.end())
        m_factories.erase(found);
}

bool ScreenDirectory::contains(std::string_view name) const
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = m_factories.find(name);
    return found != m_factories.end() && found->second;
}

std::shared_ptr<ui::ViewController> ScreenDirectory::make(
    std::string_view name, const std::shared_ptr<core::Device>& device, Opening opening) const
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = m_factories.find(name);
    if (found == m_factories.end() || !found->second)
        return nullptr;
    return found->second(device, opening);
}

void ScreenDirectory::addPanel(std::string name, PanelFactory factory)
{
    BASE_ASSERT_MAIN_THREAD();
    m_panels[std::move(name)] = std::move(factory);
}

void ScreenDirectory::removePanel(std::string_view name)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto found = m_panels.find(name); found != m_panels.end())
        m_panels.erase(found);
}

bool ScreenDirectory::containsPanel(std::string_view name) const
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = m_panels.find(name);
    return found != m_panels.end() && found->second;
}

std::shared_ptr<ui::ViewController> ScreenDirectory::showPanel(
    std::string_view name, const std::shared_ptr<core::Device>& device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = m_panels.find(name);
    if (found == m_panels.end() || !found->second)
        return nullptr;
    auto panel = found->second(device);
    if (!panel)
        return nullptr;
    const auto& presenter = kit::ModalPresenter::sharedInstance();
    presenter->showWithContentView(panel->view());
    presenter->viewController()->addChildViewController(panel);
    panel->didMoveToParentViewController(presenter->viewController());
    return panel;
}

std::shared_ptr<ui::ViewController> ScreenDirectory::shownPanel()
{
    const auto& presenter = kit::ModalPresenter::sharedInstance();
    if (!presenter->window() || !presenter->viewController())
        return nullptr;
    const auto& children = presenter->viewController()->childViewControllers();
    return children.empty() ? nullptr : children.back();
}

} // namespace shell
