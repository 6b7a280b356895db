// ui::BarButtonItem: a button of a navigation bar, described rather than drawn: a title or an image (shown
// by a system button the item makes when a bar first needs it) or a custom view of its own, a style, a tint
// colour and the action a tap sends. A subclass may start empty and set its image or custom view later.
// Held by navigation items; the view it shows is added to the bar. Main thread.
//
//   auto menu = std::make_shared<ui::BarButtonItem>(gfx::Image::named("home"), ui::BarButtonItemStyle::Plain,
//       [weak](ui::BarButtonItem&) { if (auto self = weak.lock()) self->toggleDrawer(); });
//   navigationItem->setLeftBarButtonItem(menu, false);
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/images/Image.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class Button;
class View;

enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };

class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
public:
    using Action = std::function<void(BarButtonItem& sender)>;

    BarButtonItem() = default;
    BarButtonItem(std::shared_ptr<gfx::Image> image, BarButtonItemStyle style, Action action);
    BarButtonItem(std::string title, BarButtonItemStyle style, Action action);
    explicit BarButtonItem(std::shared_ptr<View> customView);
    virtual ~BarButtonItem();
    BarButtonItem(const BarButtonItem&) = delete;
    BarButtonItem& operator=(const BarButtonItem&) = delete;

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title);
    const std::shared_ptr<gfx::Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<gfx::Image> image);
    BarButtonItemStyle style() const { return m_style; }
    void setStyle(BarButtonItemStyle style);
    const std::shared_ptr<View>& customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<View> view);
    const Action& action() const { return m_action; }
    void setAction(Action action) { m_action = std::move(action); }
    // Empty: the bar's tint.
    const std::optional<gfx::Color>& tintColor() const { return m_tintColor; }
    virtual void setTintColor(std::optional<gfx::Color> color);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // 0: as wide as the contents.
    double width() const { return m_width; }
    void setWidth(double width) { m_width = width; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // Runs the action, as a tap on the item does.
    void sendAction();
    // What shows the item in a bar: the custom view, else the item's button (made on first use).
    std::shared_ptr<View> view();

private:
    void refreshButton();

    std::optional<std::string> m_title;
    std::shared_ptr<gfx::Image> m_image;
    BarButtonItemStyle m_style { BarButtonItemStyle::Plain };
    std::shared_ptr<View> m_customView;
    Action m_action;
    std::optional<gfx::Color> m_tintColor;
    bool m_enabled { true };
    double m_width { 0 };
    int m_tag { 0 };
    std::shared_ptr<Button> m_button;
};

} // namespace ui
