#include "gfx/drawing/BlurredAlphaCache.h"

#include <cstring>

namespace gfx {

namespace {

    struct Rows {
        const unsigned char* data;
        size_t stride;
        int width;
        int height;
    };

    Rows rowsOf(cairo_surface_t* alpha)
    {
        cairo_surface_flush(alpha);
        return { cairo_image_surface_get_data(alpha), static_cast<size_t>(cairo_image_surface_get_stride(alpha)),
            cairo_image_surface_get_width(alpha), cairo_image_surface_get_height(alpha) };
    }

    // A quick digest of the rows, eight bytes at a time, to pass over entries that cannot match before
    // comparing bytes.
    uint64_t digestOf(const Rows& rows)
    {
        uint64_t digest = 0x9e3779b97f4a7c15ULL;
        auto width = static_cast<size_t>(rows.width);
        for (int y = 0; y < rows.height; ++y) {
            const unsigned char* row = rows.data + static_cast<size_t>(y) * rows.stride;
            size_t x = 0;
            for (; x + 8 <= width; x += 8) {
                uint64_t word;
                std::memcpy(&word, row + x, 8);
                digest = (digest ^ word) * 0x100000001b3ULL;
                digest ^= digest >> 29;
            }
            for (; x < width; ++x)
                digest = (digest ^ row[x]) * 0x100000001b3ULL;
        }
        return digest;
    }

    bool sameRows(const Rows& rows, const std::vector<unsigned char>& kept)
    {
        auto width = static_cast<size_t>(rows.width);
        for (int y = 0; y < rows.height; ++y)
            if (std::memcmp(rows.data + static_cast<size_t>(y) * rows.stride, kept.data() + y * width, width) != 0)
                return false;
        return true;
    }

} // namespace

BlurredAlphaCache& BlurredAlphaCache::current()
{
    thread_local BlurredAlphaCache cache;
    return cache;
}

BlurredAlphaCache::~BlurredAlphaCache() { clear(); }

void BlurredAlphaCache::clear()
{
    for (auto& entry : m_entries)
        cairo_surface_destroy(entry.blurred);
    m_entries.clear();
}

cairo_surface_t* BlurredAlphaCache::find(cairo_surface_t* alpha, int kernel)
{
    if (m_entries.empty())
        return nullptr;
    Rows rows = rowsOf(alpha);
    uint64_t digest = digestOf(rows);
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        if (entry->kernel == kernel && entry->width == rows.width && entry->height == rows.height
            && entry->digest == digest && sameRows(rows, entry->alpha)) {
            m_entries.splice(m_entries.begin(), m_entries, entry);
            return m_entries.front().blurred;
        }
    }
    return nullptr;
}

void BlurredAlphaCache::insert(cairo_surface_t* alpha, int kernel, cairo_surface_t* blurred)
{
    Rows rows = rowsOf(alpha);
    auto width = static_cast<size_t>(rows.width);
    size_t bytes = width * static_cast<size_t>(rows.height);
    if (bytes == 0 || bytes > largestKeptBytes)
        return;
    std::vector<unsigned char> kept(bytes);
    for (int y = 0; y < rows.height; ++y)
        std::memcpy(kept.data() + y * width, rows.data + static_cast<size_t>(y) * rows.stride, width);
    m_entries.push_front(
        { rows.width, rows.height, kernel, digestOf(rows), std::move(kept), cairo_surface_reference(blurred) });
    while (m_entries.size() > capacity) {
        cairo_surface_destroy(m_entries.back().blurred);
        m_entries.pop_back();
    }
}

} // namespace gfx
