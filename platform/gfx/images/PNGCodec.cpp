#include "gfx/images/ImageCodecs.h"

#include <algorithm>
#include <cstring>

namespace gfx {

namespace {

    constexpr uint8_t pngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };

    uint32_t readBigEndian32(const uint8_t* p)
    {
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }

    struct ReadCursor {
        const uint8_t* bytes;
        size_t length;
        size_t offset;
    };

    cairo_status_t readChunk(void* closure, unsigned char* out, unsigned int count)
    {
        auto* cursor = static_cast<ReadCursor*>(closure);
        if (cursor->length - cursor->offset < count)
            return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, cursor->bytes + cursor->offset, count);
        cursor->offset += count;
        return CAIRO_STATUS_SUCCESS;
    }

    cairo_status_t appendChunk(void* closure, const unsigned char* data, unsigned int count)
    {
        auto* out = static_cast<base::Data*>(closure);
        out->insert(out->end(), data, data + count);
        return CAIRO_STATUS_SUCCESS;
    }

} // namespace

bool acceptableImageDimensions(int64_t width, int64_t height)
{
    constexpr int64_t maximumDimension = 16384;
    constexpr int64_t maximumPixelCount = 64 * 1024 * 1024;
    return width > 0 && height > 0 && width <= maximumDimension && height <= maximumDimension
        && width * height <= maximumPixelCount;
}

bool looksLikePNG(const uint8_t* bytes, size_t length)
{
    return length >= sizeof pngSignature && std::memcmp(bytes, pngSignature, sizeof pngSignature) == 0;
}

cairo_surface_t* decodePNG(const uint8_t* bytes, size_t length)
{
    // The header chunk comes first: check the dimensions before the reader allocates anything.
    if (!looksLikePNG(bytes, length) || length < 24 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return nullptr;
    if (!acceptableImageDimensions(readBigEndian32(bytes + 16), readBigEndian32(bytes + 20)))
        return nullptr;
    ReadCursor cursor { bytes, length, 0 };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readChunk, &cursor);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

base::Data encodePNG(cairo_surface_t* surface)
{
    base::Data out;
    if (cairo_surface_write_to_png_stream(surface, appendChunk, &out) != CAIRO_STATUS_SUCCESS)
        out.clear();
    return out;
}

} // namespace gfx
