// gfx::PixelBuffer: a view of 32-bit pixels owned by someone else (an image context's bitmap, an image's
// pixels): the first byte, the size in pixels and the bytes per row. Each pixel is one native-endian
// premultiplied ARGB word, which on little-endian machines is the bytes B, G, R, A in memory order.
//
//   gfx::PixelBuffer a = *context.bitmap();
//   uint32_t first = a.pixel(0, 0);
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gfx {

struct PixelBuffer {
    uint8_t* data { nullptr };
    int width { 0 };
    int height { 0 };
    size_t rowBytes { 0 };

    uint8_t* row(int y) const { return data + static_cast<size_t>(y) * rowBytes; }
    uint32_t pixel(int x, int y) const
    {
        uint32_t value;
        std::memcpy(&value, row(y) + static_cast<size_t>(x) * 4, 4);
        return value;
    }
    void setPixel(int x, int y, uint32_t value) const { std::memcpy(row(y) + static_cast<size_t>(x) * 4, &value, 4); }
};

} // namespace gfx
