#include "kit/floating/FloatingFrameView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "kit/support/PathCreateRoundedRect.h"

namespace kit {

FloatingFrameView::FloatingFrameView(const gfx::Rect& frame)
    : ui::View(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
}

void FloatingFrameView::setBaseColor(std::optional<gfx::Color> color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_baseColor = color;
    setNeedsDisplay();
}

void FloatingFrameView::setCornerRadius(double radius)
{
    BASE_ASSERT_MAIN_THREAD();
    m_cornerRadius = radius;
    setNeedsDisplay();
}

void FloatingFrameView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    double width = frame().width();
    double height = frame().height();
    double r = m_cornerRadius;

    context->save();
    context->beginPath();
    context->addPath(pathCreateRoundedRect(0, 0, width, height, r + 1, r + 1, r + 1, r + 1));
    context->setFillColor(gfx::Color::white().withAlpha(0.1));
    context->fillPath();
    context->restore();

    context->save();
    if (m_baseColor) {
        context->beginPath();
        context->addPath(pathCreateRoundedRect(1, 1, width - 2, height - 2, r, r, r, r));
        context->setFillColor(*m_baseColor);
        context->fillPath();
    }
    context->restore();

    context->save();
    context->beginPath();
    context->addPath(pathCreateRoundedRect(2, 2, width - 4, glossHeight, 0, 0, r - 1, r - 1));
    context->clip();
    gfx::Gradient gloss({ { 0, gfx::Color::white().withAlpha(0.4) }, { 1, gfx::Color::white().withAlpha(0.05) } });
    context->drawLinearGradient(gloss, { 0, 0 }, { 0, glossHeight }, 0);
    context->restore();
}

} // namespace kit
