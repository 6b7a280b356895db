#include "ui/render/ShadowRasters.h"

#include "base/loop/MainThread.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

namespace ui {

namespace {

    // A run of equal neighbouring lines (rows or columns): its first line and how many it holds; one line is no
    // run at all.
    struct Run {
        int start { 0 };
        int length { 1 };
    };

    // The longest run, from whether each line equals the next.
    Run longestRun(const std::vector<uint8_t>& equalsNext)
    {
        Run best;
        int start = 0;
        for (int i = 0; i <= int(equalsNext.size()); ++i) {
            if (i < int(equalsNext.size()) && equalsNext[i])
                continue;
            if (i - start + 1 > best.length)
                best = { start, i - start + 1 };
            start = i + 1;
        }
        return best;
    }

    Run longestRunOfRows(const gfx::PixelBuffer& pixels)
    {
        std::vector<uint8_t> equalsNext(pixels.height - 1);
        for (int y = 0; y + 1 < pixels.height; ++y)
            equalsNext[y] = std::memcmp(pixels.row(y), pixels.row(y + 1), size_t(pixels.width) * 4) == 0;
        return longestRun(equalsNext);
    }

    Run longestRunOfColumns(const gfx::PixelBuffer& pixels)
    {
        std::vector<uint8_t> equalsNext(pixels.width - 1, 1);
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x + 1 < pixels.width; ++x)
                equalsNext[x] = equalsNext[x] && pixels.pixel(x, y) == pixels.pixel(x + 1, y);
        return longestRun(equalsNext);
    }

    // The pixels with their longest run of equal rows and their longest run of equal columns each collapsed to
    // one line (in place), as an image of scale 1 whose caps stretch that line back over its run when it is
    // drawn at the pixels' size: a shadow with long straight sides is kept as a small frame. The first line of
    // an axis stays a cap of its own, since a cap of 0 would stretch the whole axis.
    std::shared_ptr<gfx::Image> collapseRuns(gfx::PixelBuffer pixels)
    {
        if (pixels.width < 2 || pixels.height < 2)
            return gfx::Image::fromPixels(pixels, 1);
        Run rows = longestRunOfRows(pixels);
        Run columns = longestRunOfColumns(pixels);
        rows = rows.start > 0 ? rows : Run {};
        columns = columns.start > 0 ? columns : Run {};
        const size_t head = size_t(columns.start + 1) * 4;
        const size_t tailStart = size_t(columns.start + columns.length) * 4;
        const size_t rowLength = size_t(pixels.width) * 4;
        int kept = 0;
        for (int y = 0; y < pixels.height; ++y) {
            if (y > rows.start && y < rows.start + rows.length)
                continue;
            uint8_t* to = pixels.row(kept++);
            std::memmove(to, pixels.row(y), head);
            std::memmove(to + head, pixels.row(y) + tailStart, rowLength - tailStart);
        }
        pixels.width -= columns.length - 1;
        pixels.height = kept;
        auto image = gfx::Image::fromPixels(pixels, 1);
        return image ? image->stretchableImage(columns.start, rows.start) : nullptr;
    }

} // namespace

ShadowRasters& ShadowRasters::main()
{
    BASE_ASSERT_MAIN_THREAD();
    static ShadowRasters rasters;
    return rasters;
}

double ShadowRasters::reach(const gfx::Shadow& shadow, double scale)
{
    // Three box-blur passes spread a little less than one and a half times the blur; the offset moves it.
    double offset = std::max(std::abs(shadow.offset.width), std::abs(shadow.offset.height));
    return std::ceil((offset + 1.5 * std::max(shadow.blur, 0.0)) * scale) + 6;
}

bool ShadowRasters::keeps(const gfx::Rect& deviceArea)
{
    return !deviceArea.isNull() && deviceArea.width() * deviceArea.height() <= maxPixels;
}

size_t ShadowRasters::pixelCount() const
{
    size_t pixels = 0;
    for (const Raster& raster : m_rasters)
        pixels += size_t(raster.image->pixelWidth()) * raster.image->pixelHeight();
    return pixels;
}

bool ShadowRasters::paint(gfx::Context& context, const gfx::Path& path, const gfx::Shadow& shadow)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::AffineTransform device = context.currentTransform();
    if (path.isEmpty() || device.determinant() == 0)
        return true;
    const Raster* raster = find(path, shadow, device, context.scale());
    if (!raster)
        return false;
    context.save();
    cairo_identity_matrix(context.cairo());
    context.drawImage(*raster->image,
        { std::round(device.tx) + raster->area.minX(), std::round(device.ty) + raster->area.minY(),
            raster->area.width(), raster->area.height() });
    context.restore();
    return true;
}

const ShadowRasters::Raster* ShadowRasters::find(
    const gfx::Path& path, const gfx::Shadow& shadow, const gfx::AffineTransform& device, double scale)
{
    for (auto it = m_rasters.begin(); it != m_rasters.end(); ++it) {
        if (it->a == device.a && it->b == device.b && it->c == device.c && it->d == device.d && it->scale == scale
            && it->shadow == shadow && it->path == path) {
            m_rasters.splice(m_rasters.begin(), m_rasters, it);
            return &m_rasters.front();
        }
    }
    Raster raster { path, shadow, device.a, device.b, device.c, device.d, scale, nullptr, {} };
    if (!make(raster))
        return nullptr;
    m_rasters.push_front(std::move(raster));
    if (m_rasters.size() > capacity)
        m_rasters.pop_back();
    return &m_rasters.front();
}

std::shared_ptr<gfx::Image> ShadowRasters::make(Raster& raster)
{
    double pad = reach(raster.shadow, raster.scale);
    gfx::AffineTransform linear { raster.a, raster.b, raster.c, raster.d, 0, 0 };
    gfx::Rect area = linear.apply(raster.path.boundingBox()).insetBy(-pad, -pad).integral();
    if (!keeps(area))
        return nullptr;
    auto context
        = gfx::Context::makeBitmap({ area.width() / raster.scale, area.height() / raster.scale }, raster.scale);
    if (!context)
        return nullptr;
    // The path as the layer's device matrix places it, moved to a whole pixel inside the bitmap, whose clip
    // then holds the whole shadow.
    cairo_matrix_t placed { raster.a, raster.b, raster.c, raster.d, -area.minX(), -area.minY() };
    cairo_set_matrix(context->cairo(), &placed);
    context->setShadow(raster.shadow);
    // The raster is the one kept copy of this shadow: the context need not keep its blurred mask as well.
    context->fillShadowOfPath(raster.path, false);
    std::optional<gfx::PixelBuffer> pixels = context->bitmap();
    raster.image = pixels ? collapseRuns(*pixels) : nullptr;
    raster.area = area;
    return raster.image;
}

} // namespace ui
