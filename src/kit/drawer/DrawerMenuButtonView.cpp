#include "kit/drawer/DrawerMenuButtonView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Path.h"

namespace kit {

namespace {

    // The colour slot of a state: normal and highlighted have one, other states none.
    template <typename Slot> Slot* slotFor(ui::ControlStates state, Slot& normal, Slot& highlighted)
    {
        if (state == ui::ControlState::Normal)
            return &normal;
        if (state == ui::ControlState::Highlighted)
            return &highlighted;
        return nullptr;
    }

} // namespace

DrawerMenuButtonView::DrawerMenuButtonView(const gfx::Rect& frame)
    : ui::Button(frame)
    , m_menuButtonNormalColor(gfx::Color::white().withAlpha(0.9f))
    , m_menuButtonHighlightedColor(gfx::Color::rgb(139.0 / 255, 135.0 / 255, 136.0 / 255, 0.9f))
    , m_shadowNormalColor(gfx::Color::black().withAlpha(0.5))
    , m_shadowHighlightedColor(gfx::Color::black().withAlpha(0.2f))
{
    BASE_ASSERT_MAIN_THREAD();
}

std::optional<gfx::Color> DrawerMenuButtonView::menuButtonColorForState(ui::ControlStates state) const
{
    if (const auto* slot = slotFor(state, m_menuButtonNormalColor, m_menuButtonHighlightedColor))
        return *slot;
    return std::nullopt;
}

void DrawerMenuButtonView::setMenuButtonColor(const gfx::Color& color, ui::ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto* slot = slotFor(state, m_menuButtonNormalColor, m_menuButtonHighlightedColor))
        *slot = color;
    setNeedsDisplay();
}

std::optional<gfx::Color> DrawerMenuButtonView::shadowColorForState(ui::ControlStates state) const
{
    if (const auto* slot = slotFor(state, m_shadowNormalColor, m_shadowHighlightedColor))
        return *slot;
    return std::nullopt;
}

void DrawerMenuButtonView::setShadowColor(const gfx::Color& color, ui::ControlStates state)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto* slot = slotFor(state, m_shadowNormalColor, m_shadowHighlightedColor))
        *slot = color;
    setNeedsDisplay();
}

void DrawerMenuButtonView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    auto* context = gfx::CurrentContext::get();
    if (!context)
        return;
    double width = bounds().width();
    double height = bounds().height();
    double barWidth = 0.8 * width;
    double barHeight = 0.16 * height;
    double left = 0.1 * width;
    double gap = 0.12 * height;
    auto fill = menuButtonColorForState(state());
    auto shadow = shadowColorForState(state());
    for (int bar = 0; bar < 3; ++bar) {
        double top = (bar + 1) * gap + bar * barHeight;
        context->save();
        if (shadow)
            context->setShadow({ { 0, 1 }, 0, *shadow });
        else
            context->clearShadow();
        if (fill)
            context->setFillColor(*fill);
        context->addPath(gfx::Path::roundedRect({ left, top, barWidth, barHeight }, 1.0));
        context->fillPath();
        context->restore();
    }
}

void DrawerMenuButtonView::touchesBegan(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::touchesBegan(touches, event);
    setNeedsDisplay();
}

void DrawerMenuButtonView::touchesEnded(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::touchesEnded(touches, event);
    setNeedsDisplay();
}

void DrawerMenuButtonView::touchesCancelled(const ui::TouchSet& touches, const ui::Event* event)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::touchesCancelled(touches, event);
    setNeedsDisplay();
}

void DrawerMenuButtonView::setSelected(bool selected)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::setSelected(selected);
    setNeedsDisplay();
}

void DrawerMenuButtonView::setHighlighted(bool highlighted)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::setHighlighted(highlighted);
    setNeedsDisplay();
}

void DrawerMenuButtonView::tintColorDidChange()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::tintColorDidChange();
    setNeedsDisplay();
}

} // namespace kit
