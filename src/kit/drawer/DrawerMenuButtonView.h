// kit::DrawerMenuButtonView: the 26 x 26 button of the drawer's bar button item that draws the three-bar menu
// glyph itself: bars in the menu colour over a hard one-point shadow, with one colour pair for the normal
// state and one for the highlighted state (other states draw with the context's colour and no shadow).
// Every change of state, tint or colour redraws it. Main thread.
//
//   auto button = std::make_shared<kit::DrawerMenuButtonView>(gfx::Rect { 0, 0, 26, 26 });
//   button->setMenuButtonColor(gfx::Color::white(), ui::ControlState::Normal);
#pragma once

#include "gfx/drawing/Color.h"
#include "ui/controls/Button.h"

#include <optional>

namespace kit {

class DrawerMenuButtonView : public ui::Button {
public:
    explicit DrawerMenuButtonView(const gfx::Rect& frame);

    // Normal and highlighted have a colour; other states none.
    [[nodiscard]] std::optional<gfx::Color> menuButtonColorForState(ui::ControlStates state) const;
    // Stores for normal and highlighted only; always redraws.
    void setMenuButtonColor(const gfx::Color& color, ui::ControlStates state);
    [[nodiscard]] std::optional<gfx::Color> shadowColorForState(ui::ControlStates state) const;
    void setShadowColor(const gfx::Color& color, ui::ControlStates state);

    void drawRect(const gfx::Rect& rect) override;

    void touchesBegan(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event* event) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;
    void tintColorDidChange() override;

private:
    gfx::Color m_menuButtonNormalColor;
    gfx::Color m_menuButtonHighlightedColor;
    gfx::Color m_shadowNormalColor;
    gfx::Color m_shadowHighlightedColor;
};

} // namespace kit
