#include "kit/drawer/DrawerBarButtonItem.h"

#include "base/system/Facts.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/images/ImageContext.h"
#include "kit/drawer/DrawerMenuButtonView.h"

#include <cmath>

namespace kit {

std::shared_ptr<DrawerBarButtonItem> DrawerBarButtonItem::make(Action action)
{
    auto item = std::make_shared<DrawerBarButtonItem>(MadeByMake {});
    item->setTintColor(gfx::Color::white());
    if (std::floor(base::Facts::current().platformVersionNumber()) > lastGlyphPlatformVersion) {
        item->setImage(gfx::Image::named("home"));
        item->setStyle(ui::BarButtonItemStyle::Plain);
        item->setAction(std::move(action));
        return item;
    }
    auto button = std::make_shared<DrawerMenuButtonView>(gfx::Rect { 0, 0, glyphSize, glyphSize });
    std::weak_ptr<DrawerBarButtonItem> weak = item;
    button->addAction(
        [weak](ui::Control& sender) {
            if (auto self = weak.lock())
                self->touchUpInside(sender);
        },
        ui::ControlEvent::TouchUpInside);
    item->setCustomView(button);
    item->setButtonView(std::move(button));
    item->setAction(std::move(action));
    return item;
}

void DrawerBarButtonItem::touchUpInside(ui::Control&) { sendAction(); }

std::optional<gfx::Color> DrawerBarButtonItem::menuButtonColorForState(ui::ControlStates state) const
{
    return m_buttonView ? m_buttonView->menuButtonColorForState(state) : std::nullopt;
}

void DrawerBarButtonItem::setMenuButtonColor(const gfx::Color& color, ui::ControlStates state)
{
    if (m_buttonView)
        m_buttonView->setMenuButtonColor(color, state);
}

std::optional<gfx::Color> DrawerBarButtonItem::shadowColorForState(ui::ControlStates state) const
{
    return m_buttonView ? m_buttonView->shadowColorForState(state) : std::nullopt;
}

void DrawerBarButtonItem::setShadowColor(const gfx::Color& color, ui::ControlStates state)
{
    if (m_buttonView)
        m_buttonView->setShadowColor(color, state);
}

void DrawerBarButtonItem::setTintColor(std::optional<gfx::Color> color)
{
    ui::BarButtonItem::setTintColor(color);
    if (m_buttonView)
        m_buttonView->setTintColor(color);
}

std::shared_ptr<gfx::Image> DrawerBarButtonItem::drawerButtonItemImage()
{
    static const std::shared_ptr<gfx::Image> image = [] {
        constexpr double lineWidth = 16;
        constexpr double lineHeight = 1;
        gfx::ImageContext::begin({ glyphSize, glyphSize }, false, 0);
        if (auto* context = gfx::CurrentContext::get()) {
            context->setFillColor(gfx::Color::white());
            double x = std::floor((glyphSize - lineWidth) * 0.5 + 0.5);
            for (double k : { 0.24, 0.48, 0.72 })
                context->fillRect({ x, std::floor((glyphSize - lineHeight) * k + 0.5), lineWidth, lineHeight });
        }
        auto drawn = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return drawn;
    }();
    return image;
}

} // namespace kit
