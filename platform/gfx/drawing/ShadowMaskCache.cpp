#include "gfx/drawing/ShadowMaskCache.h"

namespace gfx {

bool ShadowMaskKey::operator==(const ShadowMaskKey& other) const
{
    const cairo_matrix_t& a = matrix;
    const cairo_matrix_t& b = other.matrix;
    return kernel == other.kernel && region == other.region && a.xx == b.xx && a.yx == b.yx && a.xy == b.xy
        && a.yy == b.yy && a.x0 == b.x0 && a.y0 == b.y0 && clip == other.clip && path == other.path;
}

ShadowMaskCache& ShadowMaskCache::current()
{
    thread_local ShadowMaskCache cache;
    return cache;
}

ShadowMaskCache::~ShadowMaskCache() { clear(); }

void ShadowMaskCache::clear()
{
    for (auto& entry : m_entries)
        cairo_surface_destroy(entry.mask);
    m_entries.clear();
}

cairo_surface_t* ShadowMaskCache::find(const ShadowMaskKey& key)
{
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        if (entry->key == key) {
            m_entries.splice(m_entries.begin(), m_entries, entry);
            return m_entries.front().mask;
        }
    }
    return nullptr;
}

void ShadowMaskCache::insert(ShadowMaskKey key, cairo_surface_t* mask)
{
    m_entries.push_front({ std::move(key), cairo_surface_reference(mask) });
    while (m_entries.size() > capacity) {
        cairo_surface_destroy(m_entries.back().mask);
        m_entries.pop_back();
    }
}

} // namespace gfx
