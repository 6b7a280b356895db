// kit::DrawerBarButtonItem: the navigation-bar item with which a screen toggles the drawer. It knows nothing
// of the drawer: a tap sends its action, and the screen's action toggles the drawer. On the platform
// generations the application runs on it shows the image "home"; on older ones (platform version 993 and
// below) it hosts a DrawerMenuButtonView that draws the menu glyph itself. Its tint starts white. Main
// thread; made with make().
//
//   auto item = kit::DrawerBarButtonItem::make([weak = weak_from_this()](ui::BarButtonItem&) {
//       if (auto self = weak.lock()) self->toggleDrawer();
//   });
//   navigationItem()->setLeftBarButtonItem(item, true);
#pragma once

#include "ui/controls/BarButtonItem.h"
#include "ui/controls/ControlTypes.h"

#include <memory>
#include <optional>

namespace ui {
class Control;
}

namespace kit {

class DrawerMenuButtonView;

class DrawerBarButtonItem : public ui::BarButtonItem {
public:
    // The newest platform version that still gets the drawn glyph instead of the image.
    static constexpr double lastGlyphPlatformVersion = 993.0;
    static constexpr double glyphSize = 26;

    static std::shared_ptr<DrawerBarButtonItem> make(Action action);

private:
    // Only make() builds items: the glyph button needs a weak handle of its item.
    struct MadeByMake { };

public:
    explicit DrawerBarButtonItem(MadeByMake) { }

    // The glyph button; nullptr when the item shows the image.
    const std::shared_ptr<DrawerMenuButtonView>& buttonView() const { return m_buttonView; }
    void setButtonView(std::shared_ptr<DrawerMenuButtonView> button) { m_buttonView = std::move(button); }

    // Sends the item's action, as a release inside the glyph button does.
    void touchUpInside(ui::Control& sender);

    // Forwarded to the glyph button; with the image they do nothing and answer nothing.
    [[nodiscard]] std::optional<gfx::Color> menuButtonColorForState(ui::ControlStates state) const;
    void setMenuButtonColor(const gfx::Color& color, ui::ControlStates state);
    [[nodiscard]] std::optional<gfx::Color> shadowColorForState(ui::ControlStates state) const;
    void setShadowColor(const gfx::Color& color, ui::ControlStates state);

    // The item's tint, and the glyph button's when there is one.
    void setTintColor(std::optional<gfx::Color> color) override;

    // A plain menu glyph of 26 x 26 points at the screen's scale: three white 16 x 1 lines, made once.
    static std::shared_ptr<gfx::Image> drawerButtonItemImage();

private:
    std::shared_ptr<DrawerMenuButtonView> m_buttonView;
};

} // namespace kit
