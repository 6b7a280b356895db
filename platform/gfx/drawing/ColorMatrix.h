// Colour matrix multiplication of 32-bit pixels: every pixel's four 8-bit channels, taken in memory order
// (B, G, R, A for the premultiplied ARGB words of drawing surfaces on little-endian machines), are multiplied
// by a 4x4 matrix of signed 16-bit entries and divided by a divisor:
//   out[j] = clamp(round(sum over i of in[i] * matrix[i * 4 + j] / divisor), 0, 255)
// so row i says how input channel i feeds each output channel. Halves round away from zero.
//
//   std::array<int16_t, 16> identity { 256, 0, 0, 0,  0, 256, 0, 0,  0, 0, 256, 0,  0, 0, 0, 256 };
//   gfx::matrixMultiplyARGB8888(b, a, identity, 256);
#pragma once

#include "gfx/drawing/PixelBuffer.h"

#include <array>
#include <cstdint>

namespace gfx {

// Returns false, touching nothing, when the divisor is not positive or the sizes differ. Source and
// destination may be the same buffer.
[[nodiscard]] bool matrixMultiplyARGB8888(
    const PixelBuffer& source, const PixelBuffer& destination, const std::array<int16_t, 16>& matrix, int32_t divisor);

} // namespace gfx
