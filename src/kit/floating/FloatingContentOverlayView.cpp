#include "kit/floating/FloatingContentOverlayView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "kit/support/PathCreateRoundedRect.h"

namespace kit {

FloatingContentOverlayView::FloatingContentOverlayView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
}

void FloatingContentOverlayView::setEdgeColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_edgeColor = color;
    setNeedsDisplay();
}

void FloatingContentOverlayView::setCornerRadius(double radius)
{
    BASE_ASSERT_MAIN_THREAD();
    m_cornerRadius = radius;
    setNeedsDisplay();
}

void FloatingContentOverlayView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context || !m_edgeColor)
        return;
    double width = frame().width();
    double height = frame().height();
    double e = frameWidth();
    double r = m_cornerRadius;
    context->save();
    context->beginPath();
    context->addRect({ 0, 0, width, height });
    context->addPath(pathCreateRoundedRect(e, e, width - 2 * e, height - 2 * e, r, r, r, r));
    context->setFillColor(*m_edgeColor);
    context->setShadow({ { 0, 1 }, 2, gfx::Color::black().withAlpha(0.8) });
    // Even-odd: only the band between the outer rectangle and the rounded inner one is painted.
    context->fillPath(gfx::FillRule::EvenOdd);
    context->restore();
}

} // namespace kit
