// gfx::Context: drawing images and text.
#include "gfx/Context.h"
#include "gfx/PangoTextLayout.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

    // Cairo answers a non-finite transform by breaking the context for good, so such rectangles draw nothing.
    bool isFinite(const Rect& r)
    {
        return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width)
            && std::isfinite(r.size.height);
    }

    double alignmentFactor(TextAlignment alignment)
    {
        switch (alignment) {
        case TextAlignment::Center:
            return 0.5;
        case TextAlignment::Right:
            return 1;
        default:
            return 0;
        }
    }

    void drawImageInUnitSpace(cairo_t* cr, const Image& image)
    {
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image.cairoSurface());
        // Padding keeps the edges hard when the image is scaled; the rectangle limits the paint to the image.
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        cairo_set_source(cr, pattern);
        cairo_rectangle(cr, 0, 0, image.pixelWidth(), image.pixelHeight());
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    }

} // namespace

void Context::drawImage(const Image& image, const Rect& rect)
{
    if (state().degenerate || rect.isEmpty() || !isFinite(rect))
        return;
    Rect r = rect.standardized();
    paintKeepingPath(
        [&] {
            cairo_save(m_cr);
            cairo_translate(m_cr, r.minX(), r.minY());
            cairo_scale(m_cr, r.width() / image.pixelWidth(), r.height() / image.pixelHeight());
            drawImageInUnitSpace(m_cr, image);
            cairo_restore(m_cr);
        },
        deviceBox(r.minX(), r.minY(), r.maxX(), r.maxY()));
}

void Context::drawImageBottomUp(const Image& image, const Rect& rect)
{
    if (state().degenerate || rect.isEmpty() || !isFinite(rect))
        return;
    Rect r = rect.standardized();
    paintKeepingPath(
        [&] {
            cairo_save(m_cr);
            cairo_translate(m_cr, r.minX(), r.maxY());
            cairo_scale(m_cr, r.width() / image.pixelWidth(), -r.height() / image.pixelHeight());
            drawImageInUnitSpace(m_cr, image);
            cairo_restore(m_cr);
        },
        deviceBox(r.minX(), r.minY(), r.maxX(), r.maxY()));
}

void Context::drawText(const AttributedString& text, const Rect& rect, int maxLines)
{
    if (state().degenerate || text.empty() || !isFinite(rect))
        return;
    Rect r = rect.standardized();
    PangoTextLayout layout(m_cr, text, r.width());
    ParagraphStyle style = text.paragraphStyle();
    double factor = alignmentFactor(style.alignment);

    struct Placed {
        PangoLayoutLine* line;
        double x;
        double baseline;
    };
    std::vector<Placed> placed;
    double used = 0;
    double inkX1 = r.minX(), inkX2 = r.maxX();
    for (const PangoTextLayout::Line& line : layout.lines()) {
        bool fits = used + line.metrics.height <= r.height() + 1e-9;
        if (!placed.empty() && (!fits || (maxLines > 0 && static_cast<int>(placed.size()) >= maxLines)))
            break;
        double x = r.minX() + (r.width() - line.metrics.width) * factor;
        placed.push_back({ line.line, x, r.minY() + line.baseline });
        inkX1 = std::min(inkX1, x);
        inkX2 = std::max(inkX2, x + line.metrics.width);
        used += line.metrics.height;
    }
    // Glyphs may reach a little beyond their logical boxes.
    double overhang = 4;
    for (const AttributedString::Run& run : text.runs())
        overhang = std::max(overhang, run.attributes.font.size() / 2);
    Rect ink = Rect(inkX1, r.minY(), inkX2 - inkX1, std::max(used, r.height())).insetBy(-overhang, -overhang);

    paintKeepingPath(
        [&] {
            cairo_save(m_cr);
            if (style.lineBreakMode == LineBreakMode::Clip) {
                cairo_rectangle(m_cr, r.minX(), r.minY(), r.width(), r.height());
                cairo_clip(m_cr);
            }
            for (const Placed& p : placed) {
                cairo_move_to(m_cr, p.x, p.baseline);
                pango_cairo_show_layout_line(m_cr, p.line);
            }
            cairo_restore(m_cr);
        },
        deviceBox(ink.minX(), ink.minY(), ink.maxX(), ink.maxY()));
}

} // namespace gfx
