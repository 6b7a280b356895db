#include "kit/progress/RoundProgressView.h"

#include "gfx/drawing/CurrentContext.h"

#include <cmath>

namespace kit {

RoundProgressView::RoundProgressView(const gfx::Rect& frame)
    : ui::View(frame)
{
    setBackgroundColor(gfx::Color::clear());
    setOpaque(false);
}

void RoundProgressView::setProgress(float progress)
{
    m_progress = progress;
    setNeedsDisplay();
}

void RoundProgressView::drawRect(const gfx::Rect&)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect all = bounds();
    gfx::Rect circle = all.insetBy(2, 2);
    context->setStrokeColor(gfx::Color::white());
    context->setFillColor(gfx::Color::white().withAlpha(0.1));
    context->setLineWidth(2);
    context->fillEllipse(circle);
    context->strokeEllipse(circle);

    gfx::Point center { all.width() / 2, all.height() / 2 };
    double radius = (all.width() - 4) / 2;
    double start = -M_PI / 2;
    double end = static_cast<float>(m_progress * 2 * static_cast<float>(M_PI)) + start;
    context->setFillColor(gfx::Color::white());
    context->beginPath();
    context->moveTo(center);
    context->addArc(center, radius, start, end, gfx::ArcDirection::Increasing);
    context->closePath();
    context->fillPath();
}

} // namespace kit
