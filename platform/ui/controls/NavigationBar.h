// ui::NavigationBar: the 44-point bar at the top of a navigation stack. It keeps a stack of navigation items and shows
// the top one: its left items from the left edge (or, when it has none and does not hide it, a back button titled after
// the item below, or "Back" or its chevron alone where the title needs the room), its title (or title view) centred,
// its right items from the right edge. A tap on the back button asks the delegate whether to pop the top item; on yes
// the bar pops it and tells the delegate. The item buttons take the bar's tint colour (an item's own tint wins); the
// background is the bar tint colour, drawn in drawRect (a subclass that draws nothing leaves the bar clear). A bar
// whose top edge lies on the status strip's bottom edge fills the strip above it with the bar tint colour too, as the
// phone's bar reaches up under the status bar, so the strip shows the screen's colours whatever lies behind the bar.
// The title uses the title text attributes (bold 17-point black by default). Every button the bar shows (the back
// button, each item's view) takes touches in at least a 44-point square about it, whatever its title or image,
// kept on the bar: a touch on the bar itself goes to the nearest button whose square holds it. Main thread.
//
//   bar->setDelegate(weak_from_this());
//   bar->pushNavigationItem(std::make_shared<ui::NavigationItem>("Home"), false);
//   bar->setTitleTextAttributes(gfx::TextAttributes { gfx::Font::boldSystem(18), gfx::Color::white() });
#pragma once

#include "gfx/text/TextAttributes.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/View.h"

#include <optional>
#include <vector>

namespace ui {

class Button;
class Label;
class NavigationBar;

class NavigationBarDelegate {
public:
    virtual ~NavigationBarDelegate() = default;
    virtual bool navigationBarShouldPopItem(NavigationBar&, NavigationItem&) { return true; }
    virtual void navigationBarDidPopItem(NavigationBar&, NavigationItem&) { }
};

class NavigationBar : public View {
public:
    static constexpr double height = 44;
    static constexpr double margin = 8;
    // The least width and height in which a button of the bar takes touches.
    static constexpr double minimumTouchSize = 44;

    // A zero size takes the screen's width and the bar's height.
    explicit NavigationBar(const gfx::Rect& frame = {});

    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated = false);
    void pushNavigationItem(std::shared_ptr<NavigationItem> item, bool animated = false);
    // The popped item; nullptr when the stack is empty.
    std::shared_ptr<NavigationItem> popNavigationItem(bool animated = false);
    std::shared_ptr<NavigationItem> topItem() const { return m_items.empty() ? nullptr : m_items.back(); }
    std::shared_ptr<NavigationItem> backItem() const
    {
        return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2];
    }

    std::weak_ptr<NavigationBarDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<NavigationBarDelegate> delegate) { m_delegate = std::move(delegate); }

    // Empty: the platform's light grey.
    gfx::Color barTintColor() const;
    void setBarTintColor(std::optional<gfx::Color> color);
    const std::optional<gfx::TextAttributes>& titleTextAttributes() const { return m_titleTextAttributes; }
    void setTitleTextAttributes(std::optional<gfx::TextAttributes> attributes);
    // Stored only.
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent) { m_translucent = translucent; }

    // What shows the top item, for tests and hosts: the back button (when shown) and the title label.
    std::shared_ptr<Button> backButton() const { return m_backShown ? m_backButton : nullptr; }
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    // The text of the back button for the current stack (empty without an item below the top).
    std::string backButtonTitle() const;

    // For NavigationItem.
    void itemDidChange(const NavigationItem& item);

    // A touch on the bar itself, away from every button's own bounds, goes to the nearest button whose touch area
    // holds it (see touchArea).
    std::shared_ptr<View> hitTest(gfx::Point point, const Event* event) override;
    // Where the shown button `view` takes touches, in the bar's bounds: its frame grown about its centre to at
    // least minimumTouchSize each way and moved, where it would reach past an edge, back onto the bar.
    gfx::Rect touchArea(const View& view) const;

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void layoutSubviews() override;
    void didMoveToWindow() override;
    void tintColorDidChange() override { setNeedsLayout(); }
    void drawRect(const gfx::Rect& rect) override;

private:
    void backTapped();
    bool isBelowStatusStrip() const;
    // Shows the strip's fill above the bar while the bar lies right below the strip, else hides it.
    void placeStripBackground();
    void attach(const std::shared_ptr<NavigationItem>& item);
    // Takes the previous top item's views off the bar.
    void clearShownViews();
    // Whether `views` are the views shown, in this order, above every other subview.
    bool showsOnTop(const std::vector<std::shared_ptr<View>>& views) const;
    // Puts `views` on the bar, in this order and on top, in place of the views shown before.
    void show(std::vector<std::shared_ptr<View>> views);

    std::vector<std::shared_ptr<NavigationItem>> m_items;
    std::weak_ptr<NavigationBarDelegate> m_delegate;
    std::optional<gfx::Color> m_barTintColor;
    std::optional<gfx::TextAttributes> m_titleTextAttributes;
    bool m_translucent { true };
    std::shared_ptr<Button> m_backButton;
    std::shared_ptr<Label> m_titleLabel;
    std::vector<std::shared_ptr<View>> m_shownViews;
    // Reaches up from the bar's top edge over the status strip; outside the bar's bounds, so it takes no touch.
    std::shared_ptr<View> m_stripBackground;
    bool m_backShown { false };
};

} // namespace ui
