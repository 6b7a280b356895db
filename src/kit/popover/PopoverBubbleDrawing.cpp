// The popover bubble's drawing: the body with its arrow, under a soft shadow and a faint vertical gradient;
// the title band; the dividers between items.
#include "kit/popover/PopoverBubble.h"

#include "gfx/drawing/CurrentContext.h"

namespace kit {

namespace {

    // Distance of a corner's control points from its tangent points, towards the corner.
    constexpr double cornerControl = PopoverBubble::cornerRadius - 1.8;
    // Distance of the arrow base's control points from the base ends, towards the tip.
    constexpr double arrowControl = 6;

    struct Outline {
        double xMin, yMin, xMax, yMax;
        gfx::Point arrow;
        bool above;
    };

    // From the left edge's top tangent point, along the top (with the arrow when the bubble is below the
    // point), to the right edge's top tangent point.
    void addTopEdge(gfx::Path& path, const Outline& o)
    {
        constexpr double r = PopoverBubble::cornerRadius;
        constexpr double a = PopoverBubble::arrowLength;
        path.curveTo({ o.xMin, o.yMin + cornerControl }, { o.xMin + cornerControl, o.yMin }, { o.xMin + r, o.yMin });
        if (!o.above) {
            path.lineTo({ o.arrow.x - a, o.yMin });
            path.curveTo({ o.arrow.x - arrowControl, o.yMin }, o.arrow, o.arrow);
            path.curveTo(o.arrow, { o.arrow.x + arrowControl, o.yMin }, { o.arrow.x + a, o.yMin });
        }
        path.lineTo({ o.xMax - r, o.yMin });
        path.curveTo({ o.xMax - cornerControl, o.yMin }, { o.xMax, o.yMin + cornerControl }, { o.xMax, o.yMin + r });
    }

    gfx::Path bubblePath(const Outline& o)
    {
        constexpr double r = PopoverBubble::cornerRadius;
        constexpr double a = PopoverBubble::arrowLength;
        gfx::Path path;
        path.moveTo({ o.xMin, o.yMin + r });
        addTopEdge(path, o);
        path.lineTo({ o.xMax, o.yMax - r });
        path.curveTo({ o.xMax, o.yMax - cornerControl }, { o.xMax - cornerControl, o.yMax }, { o.xMax - r, o.yMax });
        if (o.above) {
            path.lineTo({ o.arrow.x + a, o.yMax });
            path.curveTo({ o.arrow.x + arrowControl, o.yMax }, o.arrow, o.arrow);
            path.curveTo(o.arrow, { o.arrow.x - arrowControl, o.yMax }, { o.arrow.x - a, o.yMax });
        }
        path.lineTo({ o.xMin + r, o.yMax });
        path.curveTo({ o.xMin + cornerControl, o.yMax }, { o.xMin, o.yMax - cornerControl }, { o.xMin, o.yMax - r });
        path.close();
        return path;
    }

    gfx::Path titleBandPath(const Outline& o, double bandBottom)
    {
        gfx::Path path;
        path.moveTo({ o.xMin, bandBottom });
        path.lineTo({ o.xMin, o.yMin + PopoverBubble::cornerRadius });
        addTopEdge(path, o);
        path.lineTo({ o.xMax, bandBottom });
        path.lineTo({ o.xMin, bandBottom });
        path.close();
        return path;
    }

    // Fills `path` with a vertical gradient between the two heights, inside a transparency layer so that a
    // shadow set beforehand is cast once by the whole shape.
    void fillWithGradient(gfx::Context& context, const gfx::Path& path, const gfx::Gradient& gradient, double midX,
        double startY, double endY)
    {
        context.beginTransparencyLayer();
        context.beginPath();
        context.addPath(path);
        context.clip();
        context.drawLinearGradient(gradient, { midX, startY }, { midX, endY }, 0);
        context.endTransparencyLayer();
    }

} // namespace

void PopoverBubble::drawRect(const gfx::Rect&)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    Outline outline { m_boxFrame.minX(), m_boxFrame.minY(), m_boxFrame.maxX(), m_boxFrame.maxY(), m_arrowPoint,
        m_above };
    double midX = m_boxFrame.midX();
    double top = m_above ? outline.yMin : outline.yMin - arrowLength;

    gfx::Gradient body({ { 0, gfx::Color::fromWhite(1.0, 0.95) }, { 1, gfx::Color::fromWhite(0.98, 0.95) } });
    context->save();
    context->setShadow({ { 0, 1 }, 10, gfx::Color::black().withAlpha(0.4) });
    fillWithGradient(
        *context, bubblePath(outline), body, midX, top, m_above ? outline.yMax + arrowLength : outline.yMax);
    context->restore();

    if (m_titleView && m_titleView->frame().height() + 2 * contentInset > 0) {
        double bandBottom = outline.yMin + m_titleView->frame().height() + 2 * contentInset;
        gfx::Gradient band({ { 0, gfx::Color::fromWhite(1.0, 0.95) }, { 1, gfx::Color::fromWhite(0.93, 0.95) } });
        context->save();
        fillWithGradient(*context, titleBandPath(outline, bandBottom), band, midX, top, bandBottom);
        context->restore();
        context->setFillColor(gfx::Color::rgb(0.741, 0.741, 0.741, 0.5));
        context->fillRect({ outline.xMin, bandBottom, outline.xMax - outline.xMin, 0.5 });
    }

    if (m_showDividerRects && !m_dividerRects.empty() && m_contentView) {
        gfx::Point origin = m_contentView->frame().origin;
        context->setFillColor(textColor().withAlpha(0.15));
        for (const auto& divider : m_dividerRects)
            context->fillRect(divider.offsetBy(origin.x, origin.y));
    }
}

} // namespace kit
