// gfx::Context: drawing images and text.
#include "gfx/drawing/Context.h"
#include "gfx/drawing/ResampledImageCache.h"
#include "gfx/text/CutTextWatch.h"
#include "gfx/text/PangoTextLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

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

    // Turned images larger than this many device pixels are drawn by cairo alone.
    constexpr size_t largestOutlineMask = 4 << 20;

    // An image's pixels as a smoothed source; padding keeps the edges hard when the image is scaled.
    cairo_pattern_t* imagePattern(cairo_surface_t* surface)
    {
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        return pattern;
    }

    void drawSurfaceInUnitSpace(cairo_t* cr, cairo_surface_t* surface, double pixelWidth, double pixelHeight)
    {
        cairo_pattern_t* pattern = imagePattern(surface);
        // The rectangle limits the paint to the image.
        cairo_set_source(cr, pattern);
        cairo_rectangle(cr, 0, 0, pixelWidth, pixelHeight);
        cairo_fill(cr);
        cairo_pattern_destroy(pattern);
    }

    // Device pixels, whole.
    struct PixelBox {
        int x;
        int y;
        int width;
        int height;
    };

    // The device pixels that an image's pixel rectangle touches under `m`.
    PixelBox deviceBounds(const cairo_matrix_t& m, double pixelWidth, double pixelHeight)
    {
        double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
        for (auto [x, y] :
            { std::pair { 0.0, 0.0 }, { pixelWidth, 0.0 }, { 0.0, pixelHeight }, { pixelWidth, pixelHeight } }) {
            cairo_matrix_transform_point(&m, &x, &y);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        int x = static_cast<int>(std::floor(minX)), y = static_cast<int>(std::floor(minY));
        return { x, y, static_cast<int>(std::ceil(maxX)) - x, static_cast<int>(std::ceil(maxY)) - y };
    }

    // Within cairo's own tolerance (its fixed point has 8 fraction bits) of a whole number.
    bool isWhole(double value) { return std::abs(value - std::round(value)) < 1.0 / 512; }

    // Whether the pixels land one on one on device pixels (turned by quarter turns at most), which cairo
    // copies without a filter.
    bool copiesPixels(const cairo_matrix_t& m)
    {
        bool straight = (m.xy == 0 && m.yx == 0 && std::abs(m.xx) == 1 && std::abs(m.yy) == 1)
            || (m.xx == 0 && m.yy == 0 && std::abs(m.xy) == 1 && std::abs(m.yx) == 1);
        return straight && isWhole(m.x0) && isWhole(m.y0);
    }

    // A context drawing on `surface`, which covers `box` of the device: the image's matrix `m` moved to it.
    cairo_t* createPlacedContext(cairo_surface_t* surface, const cairo_matrix_t& m, const PixelBox& box)
    {
        cairo_t* cr = cairo_create(surface);
        cairo_matrix_t placed = m;
        placed.x0 -= box.x;
        placed.y0 -= box.y;
        cairo_set_matrix(cr, &placed);
        return cr;
    }

    // The image drawn under `m` (its translation a fraction of a pixel) into a raster of its own.
    ResampledRaster resample(const Image& image, const cairo_matrix_t& m)
    {
        PixelBox box = deviceBounds(m, image.pixelWidth(), image.pixelHeight());
        if (box.width <= 0 || box.height <= 0
            || size_t(box.width) * size_t(box.height) * 4 > ResampledImageCache::largestRaster)
            return {};
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.width, box.height);
        cairo_t* cr = createPlacedContext(surface, m, box);
        drawSurfaceInUnitSpace(cr, image.cairoSurface(), image.pixelWidth(), image.pixelHeight());
        cairo_destroy(cr);
        return { surface, box.x, box.y };
    }

    void copyRaster(cairo_t* cr, const ResampledRaster& raster, const cairo_matrix_t& m)
    {
        double x = std::floor(m.x0) + raster.x, y = std::floor(m.y0) + raster.y;
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_set_source_surface(cr, raster.surface, x, y);
        cairo_rectangle(
            cr, x, y, cairo_image_surface_get_width(raster.surface), cairo_image_surface_get_height(raster.surface));
        cairo_fill(cr);
        cairo_restore(cr);
    }

    // The smallest stretch of the matrix: how many device pixels an image pixel spans at least.
    double smallestScale(const cairo_matrix_t& m)
    {
        double sum = m.xx * m.xx + m.xy * m.xy + m.yx * m.yx + m.yy * m.yy;
        double determinant = m.xx * m.yy - m.xy * m.yx;
        return std::sqrt(std::max(sum - std::sqrt(std::max(sum * sum - 4 * determinant * determinant, 0.0)), 0.0) / 2);
    }

    // How many rings of image pixels the smoothing filter reads beyond a device pixel that the image's
    // outline only partly covers, with room to spare.
    int filterReach(const cairo_matrix_t& m) { return static_cast<int>(std::ceil(1.25 / smallestScale(m) + 1.5)); }

    // Whether the outermost `rings` rings of the image are wholly transparent.
    bool hasClearBorder(const Image& image, int rings)
    {
        int width = image.pixelWidth(), height = image.pixelHeight();
        if (2 * rings >= width || 2 * rings >= height)
            return false;
        auto clear = [&](int x, int y) { return image.pixel(x, y) == 0; };
        for (int ring = 0; ring < rings; ++ring) {
            for (int x = ring; x < width - ring; ++x)
                if (!clear(x, ring) || !clear(x, height - 1 - ring))
                    return false;
            for (int y = ring; y < height - ring; ++y)
                if (!clear(ring, y) || !clear(width - 1 - ring, y))
                    return false;
        }
        return true;
    }

    // Whether a turned matrix lies where cairo switches from smoothing between neighbours to averaging
    // (shrunk to three quarters), which it may judge apart on the two ways of drawing below.
    bool nearFilterSwitch(const cairo_matrix_t& m)
    {
        cairo_matrix_t inverse = m;
        if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS)
            return true;
        for (double h :
            { inverse.xx * inverse.xx + inverse.xy * inverse.xy, inverse.yx * inverse.yx + inverse.yy * inverse.yy })
            if (std::abs(h - 1 / (0.75 * 0.75)) < 1e-6)
                return true;
        return false;
    }

    // A turned image whose border is transparent as far as the filter reaches draws the same without its
    // outline: outside the outline it would only add transparent pixels. Painting within the device box
    // avoids cutting a slanted outline into spans, which costs many times the resampling itself.
    void paintWithinBox(cairo_t* cr, const Image& image, const cairo_matrix_t& m)
    {
        PixelBox box = deviceBounds(m, image.pixelWidth(), image.pixelHeight());
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, box.x, box.y, box.width, box.height);
        cairo_clip(cr);
        cairo_set_matrix(cr, &m);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image.cairoSurface());
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
        cairo_pattern_destroy(pattern);
        cairo_restore(cr);
    }

    // Whether one rectangle of the clip (device pixels) holds all of `box`: then the clip cuts nothing of what
    // is drawn there.
    bool clipHolds(cairo_t* cr, const PixelBox& box)
    {
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr);
        cairo_restore(cr);
        bool holds = list->status == CAIRO_STATUS_SUCCESS
            && std::any_of(list->rectangles, list->rectangles + list->num_rectangles, [&](const cairo_rectangle_t& r) {
                   return r.x <= box.x && r.y <= box.y && r.x + r.width >= box.x + box.width
                       && r.y + r.height >= box.y + box.height;
               });
        cairo_rectangle_list_destroy(list);
        return holds;
    }

    // A turned image painted over what is there once, through a mask of its outline's coverage: the pixels
    // filling the outline would give where no clip cuts the outline. Filling a slanted outline with an image cuts it
    // into spans and resamples each on its own, which costs many times the resampling itself.
    bool paintThroughOutline(cairo_t* cr, const Image& image, const cairo_matrix_t& m)
    {
        PixelBox box = deviceBounds(m, image.pixelWidth(), image.pixelHeight());
        if (cairo_get_operator(cr) != CAIRO_OPERATOR_OVER || box.width <= 0 || box.height <= 0
            || size_t(box.width) * size_t(box.height) > largestOutlineMask || !clipHolds(cr, box))
            return false;
        cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, box.width, box.height);
        cairo_t* outline = createPlacedContext(mask, m, box);
        cairo_rectangle(outline, 0, 0, image.pixelWidth(), image.pixelHeight());
        cairo_fill(outline);
        cairo_destroy(outline);
        cairo_pattern_t* pattern = imagePattern(image.cairoSurface());
        cairo_set_source(cr, pattern);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_mask_surface(cr, mask, box.x, box.y);
        cairo_restore(cr);
        cairo_pattern_destroy(pattern);
        cairo_surface_destroy(mask);
        return true;
    }

    void drawImageInUnitSpace(cairo_t* cr, const Image& image)
    {
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        if (!copiesPixels(m)) {
            auto key = ResampledImageKey::of(image, m);
            cairo_matrix_t within = m;
            within.x0 = key.fx;
            within.y0 = key.fy;
            if (auto raster = ResampledImageCache::current().rasterFor(key, [&] { return resample(image, within); })) {
                copyRaster(cr, *raster, m);
                return;
            }
            bool turned = m.xy != 0 || m.yx != 0;
            if (turned && !nearFilterSwitch(m) && hasClearBorder(image, filterReach(m))) {
                paintWithinBox(cr, image, m);
                return;
            }
            if (turned && paintThroughOutline(cr, image, m))
                return;
        }
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
    auto layout = PangoTextLayout::forDrawing(m_cr, text, r.width());
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
    const std::vector<PangoTextLayout::Line>& lines = layout->lines();
    for (const PangoTextLayout::Line& line : lines) {
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
    if (CutTextWatch::active() && (placed.size() < lines.size() || layout->cutsText()))
        CutTextWatch::report(text.string());
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
