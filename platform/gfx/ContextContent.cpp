// gfx::Context: drawing images and text.
#include "gfx/Context.h"
#include "gfx/PangoTextLayout.h"

#include <algorithm>
#include <array>
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

    void drawSurfaceInUnitSpace(cairo_t* cr, cairo_surface_t* surface, double pixelWidth, double pixelHeight)
    {
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
        // Padding keeps the edges hard when the image is scaled; the rectangle limits the paint to the image.
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        cairo_set_source(cr, pattern);
        cairo_rectangle(cr, 0, 0, pixelWidth, pixelHeight);
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    }

    void drawImageInUnitSpace(cairo_t* cr, const Image& image)
    {
        drawSurfaceInUnitSpace(cr, image.cairoSurface(), image.pixelWidth(), image.pixelHeight());
    }

    // One of the three parts of a stretched image along one axis: where it is in the image (pixels) and
    // where it goes (user space).
    struct StretchPart {
        double source;
        double sourceLength;
        double destination;
        double destinationLength;
    };

    // The cap before the stretched pixel line, that line, and the rest after it; with no cap the whole
    // axis stretches. When the destination is shorter than the two caps, the caps shrink in proportion.
    std::array<StretchPart, 3> stretchParts(int pixels, double scale, double cap, double start, double length)
    {
        if (cap <= 0 || pixels < 1)
            return { { { 0, double(pixels), start, length }, {}, {} } };
        double before = std::min(std::round(cap * scale), double(pixels - 1));
        double after = pixels - before - 1;
        double beforeLength = before / scale;
        double afterLength = after / scale;
        double middleLength = length - beforeLength - afterLength;
        if (middleLength < 0) {
            double shrink = length / (beforeLength + afterLength);
            beforeLength *= shrink;
            afterLength *= shrink;
            middleLength = 0;
        }
        return { {
            { 0, before, start, beforeLength },
            { before, 1, start + beforeLength, middleLength },
            { before + 1, after, start + beforeLength + middleLength, afterLength },
        } };
    }

    // Each part is drawn from a sub-surface of its own, so that smoothing never pulls in a neighbour's pixels.
    void drawStretchedPart(cairo_t* cr, const Image& image, const StretchPart& x, const StretchPart& y)
    {
        if (x.sourceLength <= 0 || y.sourceLength <= 0 || x.destinationLength <= 0 || y.destinationLength <= 0)
            return;
        cairo_surface_t* part = cairo_surface_create_for_rectangle(
            image.cairoSurface(), x.source, y.source, x.sourceLength, y.sourceLength);
        cairo_save(cr);
        cairo_translate(cr, x.destination, y.destination);
        cairo_scale(cr, x.destinationLength / x.sourceLength, y.destinationLength / y.sourceLength);
        drawSurfaceInUnitSpace(cr, part, x.sourceLength, y.sourceLength);
        cairo_restore(cr);
        cairo_surface_destroy(part);
    }

    void drawStretchedImage(cairo_t* cr, const Image& image, const Rect& r)
    {
        auto columns = stretchParts(image.pixelWidth(), image.scale(), image.leftCapWidth(), r.minX(), r.width());
        auto rows = stretchParts(image.pixelHeight(), image.scale(), image.topCapHeight(), r.minY(), r.height());
        for (const auto& row : rows) {
            for (const auto& column : columns)
                drawStretchedPart(cr, image, column, row);
        }
    }

} // namespace

void Context::drawImage(const Image& image, const Rect& rect)
{
    if (state().degenerate || rect.isEmpty() || !isFinite(rect))
        return;
    Rect r = rect.standardized();
    paintKeepingPath(
        [&] {
            if (image.isStretchable()) {
                drawStretchedImage(m_cr, image, r);
                return;
            }
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
