// gfx::ResampledImageCache: images as they came out of drawing them under a transform that resamples their
// pixels (a scale, a rotation, a position between device pixels), kept between frames. Resampling with a
// smoothing filter costs far more than copying pixels, and a screen draws the same image under the same
// transform frame after frame (a bar's background squeezed into the bar, a cell's icon half a pixel off the
// grid), so the second draw keeps the result and later ones copy it. A transform differing only by whole
// device pixels gives the same raster, moved. A key seen only once keeps no raster: images drawn once, or
// under a transform that changes every frame (a running animation), cost only a look-up. A few hundred keys
// and at most `byteLimit` of rasters, least recently used dropped first. One per thread (drawing contexts
// belong to one thread).
//
//   ResampledImageKey key = ResampledImageKey::of(image, matrix);
//   if (auto raster = ResampledImageCache::current().rasterFor(key, [&] { return resample(image, key); }))
//       blit(raster->surface, floor(matrix.x0) + raster->x, floor(matrix.y0) + raster->y);
#pragma once

#include <cairo.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <unordered_map>

namespace gfx {

class Image;

struct ResampledImageKey {
    uint64_t image;
    // The linear part of the matrix from the image's pixels to device pixels, and the fractional part of
    // its translation.
    double xx, yx, xy, yy;
    double fx, fy;

    static ResampledImageKey of(const Image& image, const cairo_matrix_t& matrix);
    bool operator==(const ResampledImageKey& other) const = default;
};

struct ResampledImageKeyHash {
    size_t operator()(const ResampledImageKey& key) const;
};

// A resampled image: its pixels, and where its top-left pixel lies from the whole-pixel part of the
// matrix's translation.
struct ResampledRaster {
    cairo_surface_t* surface { nullptr };
    int x { 0 };
    int y { 0 };
};

class ResampledImageCache {
public:
    static constexpr size_t capacity = 512;
    static constexpr size_t byteLimit = 32 << 20;
    static constexpr size_t largestRaster = byteLimit / 4;

    static ResampledImageCache& current();
    ResampledImageCache() = default;
    ~ResampledImageCache();
    ResampledImageCache(const ResampledImageCache&) = delete;
    ResampledImageCache& operator=(const ResampledImageCache&) = delete;

    // The kept raster of `key`; for a key seen once before, the one `make` gives (kept from then on; a
    // raster without a surface is not kept, and `make` gives none larger than `largestRaster` bytes); for a
    // new key nothing, and the key is remembered. The cache keeps ownership of the surfaces it returns.
    std::optional<ResampledRaster> rasterFor(
        const ResampledImageKey& key, const std::function<ResampledRaster()>& make);
    size_t size() const { return m_entries.size(); }
    // Drops every key and raster.
    void clear();

private:
    struct Entry {
        ResampledImageKey key;
        ResampledRaster raster;
    };
    using Entries = std::list<Entry>;

    void drop(Entries::iterator entry);
    void trim();

    Entries m_entries;
    std::unordered_map<ResampledImageKey, Entries::iterator, ResampledImageKeyHash> m_index;
    size_t m_bytes { 0 };
};

} // namespace gfx
