#include "ui/render/ShadowRasters.h"

#include "base/loop/MainThread.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace ui {

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
        { std::round(device.tx) + raster->origin.x, std::round(device.ty) + raster->origin.y,
            double(raster->image->pixelWidth()), double(raster->image->pixelHeight()) });
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
    context->fillShadowOfPath(raster.path);
    raster.image = context->makeImage();
    raster.origin = area.origin;
    return raster.image;
}

} // namespace ui
