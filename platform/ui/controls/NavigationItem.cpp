#include "ui/controls/NavigationItem.h"

#include "base/loop/MainThread.h"
#include "ui/controls/NavigationBar.h"

namespace ui {

namespace {

    NavigationItem::Items withoutEmpty(NavigationItem::Items items)
    {
        std::erase(items, nullptr);
        return items;
    }

} // namespace

NavigationItem::NavigationItem(std::optional<std::string> title)
    : m_title(std::move(title))
{
    BASE_ASSERT_MAIN_THREAD();
}

void NavigationItem::changed()
{
    if (auto bar = m_bar.lock())
        bar->itemDidChange(*this);
}

void NavigationItem::setTitle(std::optional<std::string> title)
{
    BASE_ASSERT_MAIN_THREAD();
    m_title = std::move(title);
    changed();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view)
{
    BASE_ASSERT_MAIN_THREAD();
    m_titleView = std::move(view);
    changed();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    setLeftBarButtonItems({ std::move(item) }, animated);
}

void NavigationItem::setLeftBarButtonItems(Items items, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_left = withoutEmpty(std::move(items));
    changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    setRightBarButtonItems({ std::move(item) }, animated);
}

void NavigationItem::setRightBarButtonItems(Items items, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_right = withoutEmpty(std::move(items));
    changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    BASE_ASSERT_MAIN_THREAD();
    m_back = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_hidesBackButton = hides;
    changed();
}

} // namespace ui
