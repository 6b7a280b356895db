#include "networking/images/ImageCache.h"

namespace networking {

namespace {
    bool ignoresLocalCache(const net::URLRequest& request)
    {
        auto policy = request.cachePolicy();
        return policy == net::URLRequestCachePolicy::ReloadIgnoringLocalCacheData
            || policy == net::URLRequestCachePolicy::ReloadIgnoringLocalAndRemoteCacheData;
    }
} // namespace

ImageCache& ImageCache::sharedImageCache()
{
    static ImageCache cache(sharedCostLimit);
    return cache;
}

ImageCache::ImageCache(size_t costLimit)
    : m_costLimit(costLimit)
{
}

size_t ImageCache::costOf(const gfx::Image& image)
{
    return static_cast<size_t>(image.pixelWidth()) * static_cast<size_t>(image.pixelHeight()) * 4;
}

std::shared_ptr<gfx::Image> ImageCache::cachedImageForRequest(const net::URLRequest& request)
{
    if (ignoresLocalCache(request) || !request.url())
        return nullptr;
    std::lock_guard lock(m_mutex);
    auto found = m_index.find(request.url()->absoluteString());
    if (found == m_index.end())
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second->image;
}

void ImageCache::cacheImage(std::shared_ptr<gfx::Image> image, const net::URLRequest& request)
{
    if (!image || !request.url())
        return;
    const std::string& key = request.url()->absoluteString();
    size_t cost = costOf(*image);
    std::lock_guard lock(m_mutex);
    if (auto found = m_index.find(key); found != m_index.end())
        remove(found->second);
    if (cost > m_costLimit)
        return;
    while (!m_entries.empty() && m_totalCost + cost > m_costLimit)
        remove(std::prev(m_entries.end()));
    m_entries.push_front({ key, std::move(image), cost });
    m_index[key] = m_entries.begin();
    m_totalCost += cost;
}

void ImageCache::remove(Entries::iterator entry)
{
    m_totalCost -= entry->cost;
    m_index.erase(entry->key);
    m_entries.erase(entry);
}

size_t ImageCache::totalCost() const
{
    std::lock_guard lock(m_mutex);
    return m_totalCost;
}

size_t ImageCache::count() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

void ImageCache::removeAllImages()
{
    std::lock_guard lock(m_mutex);
    m_entries.clear();
    m_index.clear();
    m_totalCost = 0;
}

} // namespace networking
