// gfx::ShadowMaskCache: the blurred masks of the shadows that paths cast, kept between frames. A screen
// redraws the same shadows frame after frame (the drawer's centre casts one the size of the screen), and
// blurring a full-screen mask three times costs far more than painting it, so a shadow whose path, matrix,
// clip and blur match an earlier one reuses that one's mask. A few entries, least recently used dropped
// first. One per thread (drawing contexts belong to one thread).
//
//   if (auto* mask = ShadowMaskCache::current().find(key)) paintMask(mask);
//   else ShadowMaskCache::current().insert(std::move(key), makeMask());
#pragma once

#include "gfx/drawing/Path.h"
#include "gfx/geometry/Rect.h"

#include <cairo.h>
#include <list>
#include <vector>

namespace gfx {

struct ShadowMaskKey {
    Path path;
    cairo_matrix_t matrix;
    Rect region;
    std::vector<Rect> clip;
    int kernel;

    bool operator==(const ShadowMaskKey& other) const;
};

class ShadowMaskCache {
public:
    static constexpr size_t capacity = 4;

    static ShadowMaskCache& current();
    ~ShadowMaskCache();

    // The cached mask of that key, or null; the cache keeps ownership.
    cairo_surface_t* find(const ShadowMaskKey& key);
    // Takes a reference to the mask.
    void insert(ShadowMaskKey key, cairo_surface_t* mask);
    size_t size() const { return m_entries.size(); }
    // Drops every mask.
    void clear();

private:
    struct Entry {
        ShadowMaskKey key;
        cairo_surface_t* mask;
    };
    std::list<Entry> m_entries;
};

} // namespace gfx
