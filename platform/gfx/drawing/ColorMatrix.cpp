#include "gfx/drawing/ColorMatrix.h"

#include <algorithm>

namespace gfx {

bool matrixMultiplyARGB8888(
    const PixelBuffer& source, const PixelBuffer& destination, const std::array<int16_t, 16>& matrix, int32_t divisor)
{
    if (divisor <= 0 || source.width != destination.width || source.height != destination.height)
        return false;
    const int64_t half = divisor / 2;
    for (int y = 0; y < source.height; ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = destination.row(y);
        for (int x = 0; x < source.width; ++x, in += 4, out += 4) {
            int64_t channels[4] = { in[0], in[1], in[2], in[3] };
            for (int j = 0; j < 4; ++j) {
                int64_t sum = 0;
                for (int i = 0; i < 4; ++i)
                    sum += channels[i] * matrix[i * 4 + j];
                int64_t value = sum >= 0 ? (sum + half) / divisor : -((-sum + half) / divisor);
                out[j] = static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
            }
        }
    }
    return true;
}

} // namespace gfx
