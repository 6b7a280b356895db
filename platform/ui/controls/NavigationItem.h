// ui::NavigationItem: what a navigation bar shows for one screen: a title (or a title view), left and right
// bar button items, the item the next screen's back button shows, and whether this screen hides its back
// button. A bar showing the item follows every change at once (the animated flags are accepted; changes
// are not animated). Main thread.
//
//   auto item = std::make_shared<ui::NavigationItem>("Settings");
//   item->setRightBarButtonItem(saveItem, false);
//   bar->pushNavigationItem(item, true);
#pragma once

#include "ui/controls/BarButtonItem.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class NavigationBar;
class View;

class NavigationItem : public std::enable_shared_from_this<NavigationItem> {
public:
    using Items = std::vector<std::shared_ptr<BarButtonItem>>;

    explicit NavigationItem(std::optional<std::string> title = std::nullopt);

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title);
    // Shown in place of the title.
    const std::shared_ptr<View>& titleView() const { return m_titleView; }
    void setTitleView(std::shared_ptr<View> view);

    std::shared_ptr<BarButtonItem> leftBarButtonItem() const { return m_left.empty() ? nullptr : m_left.front(); }
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const Items& leftBarButtonItems() const { return m_left; }
    void setLeftBarButtonItems(Items items, bool animated = false);
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const { return m_right.empty() ? nullptr : m_right.front(); }
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    // The first is the right-most.
    const Items& rightBarButtonItems() const { return m_right; }
    void setRightBarButtonItems(Items items, bool animated = false);

    // What the back button of the item above this one shows (its title only; a tap always goes back).
    const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return m_back; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false);

    // For NavigationBar: the bar that shows the item, told of changes.
    void setBar(std::weak_ptr<NavigationBar> bar) { m_bar = std::move(bar); }

private:
    void changed();

    std::optional<std::string> m_title;
    std::shared_ptr<View> m_titleView;
    Items m_left;
    Items m_right;
    std::shared_ptr<BarButtonItem> m_back;
    bool m_hidesBackButton { false };
    std::weak_ptr<NavigationBar> m_bar;
};

} // namespace ui
