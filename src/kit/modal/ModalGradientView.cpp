#include "kit/modal/ModalGradientView.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "gfx/drawing/CurrentContext.h"

#include <algorithm>
#include <cmath>

namespace kit {

void ModalGradientView::touchesEnded(const ui::TouchSet&, const ui::Event*)
{
    BASE_ASSERT_MAIN_THREAD();
    base::NotificationCenter::defaultCenter().post(tappedNotification);
}

void ModalGradientView::setStyle(ModalBackgroundStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    setNeedsDisplay();
}

void ModalGradientView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect all = bounds();
    if (m_style == ModalBackgroundStyle::Solid) {
        context->setFillColor(gfx::Color::fromWhite(0, 0.55));
        context->fillRect(all);
        return;
    }
    gfx::Gradient shade({ { 0, gfx::Color::black().withAlpha(0.3) }, { 1, gfx::Color::black().withAlpha(0.8) } });
    gfx::Point center { std::round(all.midX()), std::round(all.midY()) };
    context->drawRadialGradient(
        shade, center, 0, center, std::max(all.width(), all.height()), gfx::Gradient::DrawsAfterEndLocation);
}

} // namespace kit
