#include "gfx/drawing/ResampledImageCache.h"

#include "gfx/images/Image.h"

#include <cmath>
#include <mutex>

namespace gfx {

namespace {

    size_t bytesOf(cairo_surface_t* surface)
    {
        return static_cast<size_t>(cairo_image_surface_get_stride(surface))
            * static_cast<size_t>(cairo_image_surface_get_height(surface));
    }

    size_t mix(size_t seed, double value)
    {
        return seed ^ (std::hash<double>()(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
    }

    // A number for the image's pixels that no other pixels of this process get: kept on its surface, so that
    // a surface made later at the same address gets a new one.
    uint64_t serialOf(const Image& image)
    {
        static const cairo_user_data_key_t serialKey {};
        static std::mutex mutex;
        static uint64_t last = 0;
        std::lock_guard lock(mutex);
        cairo_surface_t* surface = image.cairoSurface();
        if (auto* serial = static_cast<uint64_t*>(cairo_surface_get_user_data(surface, &serialKey)))
            return *serial;
        auto* serial = new uint64_t(++last);
        if (cairo_surface_set_user_data(
                surface, &serialKey, serial, [](void* data) { delete static_cast<uint64_t*>(data); })
            != CAIRO_STATUS_SUCCESS)
            delete serial;
        return last;
    }

} // namespace

ResampledImageKey ResampledImageKey::of(const Image& image, const cairo_matrix_t& matrix)
{
    return { serialOf(image), matrix.xx, matrix.yx, matrix.xy, matrix.yy, matrix.x0 - std::floor(matrix.x0),
        matrix.y0 - std::floor(matrix.y0) };
}

size_t ResampledImageKeyHash::operator()(const ResampledImageKey& key) const
{
    size_t seed = std::hash<uint64_t>()(key.image);
    for (double value : { key.xx, key.yx, key.xy, key.yy, key.fx, key.fy })
        seed = mix(seed, value);
    return seed;
}

ResampledImageCache& ResampledImageCache::current()
{
    thread_local ResampledImageCache cache;
    return cache;
}

ResampledImageCache::~ResampledImageCache() { clear(); }

void ResampledImageCache::clear()
{
    while (!m_entries.empty())
        drop(m_entries.begin());
}

std::optional<ResampledRaster> ResampledImageCache::rasterFor(
    const ResampledImageKey& key, const std::function<ResampledRaster()>& make)
{
    auto found = m_index.find(key);
    if (found == m_index.end()) {
        m_entries.push_front({ key, {} });
        m_index.emplace(key, m_entries.begin());
        trim();
        return std::nullopt;
    }
    auto entry = found->second;
    m_entries.splice(m_entries.begin(), m_entries, entry);
    if (!entry->raster.surface) {
        ResampledRaster made = make();
        if (!made.surface)
            return std::nullopt;
        entry->raster = made;
        m_bytes += bytesOf(made.surface);
        trim();
    }
    return entry->raster;
}

void ResampledImageCache::drop(Entries::iterator entry)
{
    if (entry->raster.surface) {
        m_bytes -= bytesOf(entry->raster.surface);
        cairo_surface_destroy(entry->raster.surface);
    }
    m_index.erase(entry->key);
    m_entries.erase(entry);
}

void ResampledImageCache::trim()
{
    while (!m_entries.empty() && (m_entries.size() > capacity || m_bytes > byteLimit))
        drop(std::prev(m_entries.end()));
}

} // namespace gfx
