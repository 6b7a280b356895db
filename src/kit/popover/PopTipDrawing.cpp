// The pop tip's drawing: the bubble with its arrow on the side that faces the from frame, filled and stroked,
// and the text in its bounds.
#include "kit/popover/PopTip.h"

#include "gfx/drawing/CurrentContext.h"

namespace kit {

namespace {

    constexpr double pi = 3.14159265359;
    constexpr gfx::ArcDirection clockwise = gfx::ArcDirection::Increasing;
    constexpr gfx::ArcDirection counterclockwise = gfx::ArcDirection::Decreasing;

} // namespace

gfx::Path PopTip::bubblePath(gfx::Size size) const
{
    double w = size.width;
    double h = size.height;
    double bw = m_borderWidth;
    double aw = m_arrowSize.width;
    double ah = m_arrowSize.height;
    double r = m_radius;
    double ax = m_arrowPosition.x;
    double ay = m_arrowPosition.y;
    gfx::Path path;

    switch (m_direction) {
    case Up: {
        double bodyWidth = w - 2 * bw;
        double bodyHeight = h - ah - 2 * bw;
        path.moveTo({ ax + bw, ay - bw });
        path.lineTo({ ax + bw + aw / 2, ay - ah - bw });
        path.lineTo({ bodyWidth - r, bodyHeight + bw });
        path.addArc({ bodyWidth - r, bodyHeight - r + bw }, r, pi / 2, 0, counterclockwise);
        path.lineTo({ bodyWidth, r + bw });
        path.addArc({ bodyWidth - r, r + bw }, r, 0, 3 * pi / 2, counterclockwise);
        path.lineTo({ bw + r, bw });
        path.addArc({ bw + r, r + bw }, r, 3 * pi / 2, pi, counterclockwise);
        path.lineTo({ bw, bodyHeight - r + bw });
        path.addArc({ bw + r, bodyHeight - r + bw }, r, pi, pi / 2, counterclockwise);
        path.lineTo({ ax + bw - aw / 2, ay - ah - bw });
        break;
    }
    case Down: {
        double bodyWidth = w - 2 * bw;
        double bodyHeight = h - ah - 2 * bw;
        path.moveTo({ ax + bw, ay });
        path.lineTo({ ax + bw + aw / 2, ay + ah });
        path.lineTo({ bodyWidth - r, ah });
        path.addArc({ bodyWidth - r, ah + r }, r, 3 * pi / 2, 0, clockwise);
        path.lineTo({ bodyWidth, bodyHeight + ah - r });
        path.addArc({ bodyWidth - r, bodyHeight + ah - r }, r, 0, pi / 2, clockwise);
        path.lineTo({ bw + r, bodyHeight + ah });
        path.addArc({ bw + r, bodyHeight + ah - r }, r, pi / 2, pi, clockwise);
        path.lineTo({ bw, ah + r });
        path.addArc({ bw + r, ah + r }, r, pi, 3 * pi / 2, clockwise);
        path.lineTo({ ax + bw - aw / 2, ay + ah });
        break;
    }
    case Left: {
        double bodyWidth = w - aw - 2 * bw;
        double bodyHeight = h - 2 * bw;
        path.moveTo({ ax - bw, ay });
        path.lineTo({ ax - aw - bw, ay - ah / 2 });
        path.lineTo({ bodyWidth - bw, r });
        path.addArc({ bodyWidth - r - bw, r + bw }, r, 0, 3 * pi / 2, counterclockwise);
        path.lineTo({ r + bw, bw });
        path.addArc({ r + bw, r + bw }, r, 3 * pi / 2, pi, counterclockwise);
        path.lineTo({ bw, bodyHeight - r - bw });
        path.addArc({ r + bw, bodyHeight - r - bw }, r, pi, pi / 2, counterclockwise);
        path.lineTo({ bodyWidth - r - bw, bodyHeight - bw });
        path.addArc({ bodyWidth - r - bw, bodyHeight - r - bw }, r, pi / 2, 0, counterclockwise);
        path.lineTo({ ax - aw - bw, ay + ah / 2 });
        break;
    }
    case Right: {
        double bodyWidth = w - aw - 2 * bw;
        double bodyHeight = h - 2 * bw;
        path.moveTo({ ax + bw, ay });
        path.lineTo({ ax + aw + bw, ay - ah / 2 });
        path.lineTo({ aw + bw, r + bw });
        path.addArc({ aw + r + bw, r + bw }, r, pi, 3 * pi / 2, clockwise);
        path.lineTo({ aw + bodyWidth - r - bw, bw });
        path.addArc({ aw + bodyWidth - r - bw, r + bw }, r, 3 * pi / 2, 0, clockwise);
        path.lineTo({ aw + bodyWidth - bw, bodyHeight - r - bw });
        path.addArc({ aw + bodyWidth - r - bw, bodyHeight - r - bw }, r, 0, pi / 2, clockwise);
        path.lineTo({ aw + r + bw, bodyHeight - bw });
        path.addArc({ aw + r + bw, bodyHeight - r - bw }, r, pi / 2, pi, clockwise);
        path.lineTo({ ax + aw + bw, ay + ah / 2 });
        break;
    }
    case None:
        return gfx::Path::roundedRect({ bw, bw, w - 2 * bw, h - 2 * bw }, r);
    default:
        return path;
    }
    path.close();
    return path;
}

void PopTip::drawRect(const gfx::Rect& rect)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    if (m_rounded) {
        double height = bounds().height();
        m_radius = (m_direction == Left || m_direction == Right) ? height * 0.5 : (height - m_arrowSize.height) * 0.5;
    }
    gfx::Path path = bubblePath(rect.size);
    context->beginPath();
    context->addPath(path);
    context->setFillColor(m_popoverColor);
    context->fillPath();
    if (m_borderWidth > 0) {
        context->beginPath();
        context->addPath(path);
        context->setStrokeColor(m_borderColor);
        context->setLineWidth(m_borderWidth);
        context->strokePath();
    }

    if (m_text) {
        gfx::TextAttributes attributes { m_font, m_textColor, { m_textAlignment, gfx::LineBreakMode::WordWrap } };
        context->drawText(gfx::AttributedString(*m_text, attributes), m_textBounds);
    } else if (m_attributedText) {
        context->drawText(*m_attributedText, m_textBounds);
    }
}

} // namespace kit
