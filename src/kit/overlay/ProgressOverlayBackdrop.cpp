#include "kit/overlay/ProgressOverlayBackdrop.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
    constexpr double cornerRadius = 10;

    // The whole points around `box`: at any whole scale they fall on pixel edges.
    gfx::Rect enclosingPoints(const gfx::Rect& box)
    {
        double x = std::floor(box.minX()), y = std::floor(box.minY());
        return { x, y, std::ceil(box.maxX()) - x, std::ceil(box.maxY()) - y };
    }

    void fillVeil(gfx::Context& context, const gfx::Rect& all)
    {
        gfx::Gradient veil({ { 0, gfx::Color::black().withAlpha(0) }, { 1, gfx::Color::black().withAlpha(0.75) } });
        gfx::Point center { all.width() / 2, all.height() / 2 };
        context.drawRadialGradient(
            veil, center, 0, center, std::min(all.width(), all.height()), gfx::Gradient::DrawsAfterEndLocation);
    }

    void fillBox(gfx::Context& context, const gfx::Rect& box, float opacity)
    {
        context.setFillColor(gfx::Color::fromWhite(0, opacity));
        context.beginPath();
        context.moveTo({ box.minX() + cornerRadius, box.minY() });
        context.addArc({ box.maxX() - cornerRadius, box.minY() + cornerRadius }, cornerRadius, 3 * M_PI / 2, 0,
            gfx::ArcDirection::Increasing);
        context.addArc({ box.maxX() - cornerRadius, box.maxY() - cornerRadius }, cornerRadius, 0, M_PI / 2,
            gfx::ArcDirection::Increasing);
        context.addArc({ box.minX() + cornerRadius, box.maxY() - cornerRadius }, cornerRadius, M_PI / 2, M_PI,
            gfx::ArcDirection::Increasing);
        context.addArc({ box.minX() + cornerRadius, box.minY() + cornerRadius }, cornerRadius, M_PI, 3 * M_PI / 2,
            gfx::ArcDirection::Increasing);
        context.closePath();
        context.fillPath();
    }
}

ProgressOverlayBackdrop::ProgressOverlayBackdrop()
    : ui::View(gfx::Rect::zero())
{
    setOpaque(false);
    setBackgroundColor(gfx::Color::clear());
    setUserInteractionEnabled(false);
}

void ProgressOverlayBackdrop::setLook(const Look& look)
{
    BASE_ASSERT_MAIN_THREAD();
    if (look == m_look)
        return;
    m_look = look;
    setFrame(look.veil ? look.overlay : enclosingPoints(look.box));
    setNeedsDisplay();
}

void ProgressOverlayBackdrop::drawRect(const gfx::Rect&)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    // Drawn in the overlay's space, as the overlay drew it itself.
    context->translateBy(-frame().minX(), -frame().minY());
    if (m_look.veil)
        fillVeil(*context, m_look.overlay);
    fillBox(*context, m_look.box, m_look.opacity);
}

} // namespace kit
