#include "ui/NavigationItem.h"

#include "ui/NavigationBar.h"

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
}

void NavigationItem::changed()
{
    if (auto bar = m_bar.lock())
        bar->itemDidChange(*this);
}

void NavigationItem::setTitle(std::optional<std::string> title)
{
    m_title = std::move(title);
    changed();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view)
{
    m_titleView = std::move(view);
    changed();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated)
{
    setLeftBarButtonItems({ std::move(item) }, animated);
}

void NavigationItem::setLeftBarButtonItems(Items items, bool)
{
    m_left = withoutEmpty(std::move(items));
    changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated)
{
    setRightBarButtonItems({ std::move(item) }, animated);
}

void NavigationItem::setRightBarButtonItems(Items items, bool)
{
    m_right = withoutEmpty(std::move(items));
    changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_back = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool)
{
    m_hidesBackButton = hides;
    changed();
}

} // namespace ui
