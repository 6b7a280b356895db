// gfx::BlurredAlphaCache: blurred shadow masks kept by the exact alpha they were blurred from. A shadow cast
// from what a group draws (a layer with a shadow and no shadow path) cannot be keyed by a path, but a screen
// draws the same group frame after frame, and blurring its alpha three times costs several times more than
// drawing the group: the alpha is compared byte for byte with the kept ones and a match reuses that one's
// blur. The blur is a function of the alpha and the kernel alone, so a hit is never stale. A few entries,
// least recently used dropped first. One per thread (drawing contexts belong to one thread).
//
//   if (cairo_surface_t* blurred = BlurredAlphaCache::current().find(alpha, kernel)) use(blurred);
//   else BlurredAlphaCache::current().insert(alpha, kernel, blur(alpha));
#pragma once

#include <cairo.h>
#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

namespace gfx {

class BlurredAlphaCache {
public:
    static constexpr size_t capacity = 4;
    // Masks larger than this are blurred every time rather than kept (a copy of the alpha is kept with each).
    static constexpr size_t largestKeptBytes = 4 << 20;

    static BlurredAlphaCache& current();
    ~BlurredAlphaCache();

    // The kept blur of the A8 surface `alpha` with `kernel`, or null; the cache keeps ownership.
    cairo_surface_t* find(cairo_surface_t* alpha, int kernel);
    // Keeps `blurred` (a reference is taken) as the blur of `alpha` with `kernel`.
    void insert(cairo_surface_t* alpha, int kernel, cairo_surface_t* blurred);
    size_t size() const { return m_entries.size(); }
    // Drops every blur.
    void clear();

private:
    struct Entry {
        int width;
        int height;
        int kernel;
        uint64_t digest;
        std::vector<unsigned char> alpha;
        cairo_surface_t* blurred;
    };
    std::list<Entry> m_entries;
};

} // namespace gfx
