#include "shell/ScreenDirectory.h"

#include "base/MainThread.h"
#include "ui/ViewController.h"

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
    return m_factories.find(name) != m_factories.end();
}

std::shared_ptr<ui::ViewController> ScreenDirectory::make(
    std::string_view name, const std::shared_ptr<core::Device>& device) const
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = m_factories.find(name);
    if (found == m_factories.end() || !found->second)
        return nullptr;
    return found->second(device);
}

} // namespace shell
