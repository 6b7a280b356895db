// networking::ImageCache: images kept in memory under their request URL's absolute text, for image views that
// load from URLs. The cache is bounded by the bytes of the pixels it holds: storing beyond the limit evicts
// the images used least recently (an image larger than the whole limit is not kept). Requests that ask to
// ignore local cache data never hit it. Any thread.
//
//   auto& cache = networking::ImageCache::sharedImageCache();
//   if (auto image = cache.cachedImageForRequest(request)) view->setImage(image);
//   cache.cacheImage(downloaded, request);
#pragma once

#include "gfx/images/Image.h"
#include "net/http/URLRequest.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace networking {

class ImageCache {
public:
    // The shared cache's limit: 32 MiB of pixels.
    static constexpr size_t sharedCostLimit = size_t(32) << 20;

    static ImageCache& sharedImageCache();

    explicit ImageCache(size_t costLimit);
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // nullptr for a request that ignores local cache data, a request without a URL, or a URL not cached.
    std::shared_ptr<gfx::Image> cachedImageForRequest(const net::URLRequest& request);
    // Does nothing without an image or a URL.
    void cacheImage(std::shared_ptr<gfx::Image> image, const net::URLRequest& request);

    size_t totalCost() const;
    size_t count() const;
    void removeAllImages();

private:
    struct Entry {
        std::string key;
        std::shared_ptr<gfx::Image> image;
        size_t cost;
    };
    using Entries = std::list<Entry>;

    static size_t costOf(const gfx::Image& image);
    void remove(Entries::iterator entry);

    const size_t m_costLimit;
    mutable std::mutex m_mutex;
    // Most recently used first.
    Entries m_entries;
    std::unordered_map<std::string, Entries::iterator> m_index;
    size_t m_totalCost { 0 };
};

} // namespace networking
