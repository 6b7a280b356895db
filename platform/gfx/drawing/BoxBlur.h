// Box convolution of 8-bit pixels: each channel of each pixel becomes the mean of the n x n window around
// it, with coordinates beyond the image clamped to its edge (edge extension), rounded to the nearest value.
// Three passes approximate a Gaussian blur. Runs on the caller's thread on buffers the caller owns.
//
//   int n = gfx::boxKernelSizeForRadius(2.0 * scale);   // 9 at scale 2
//   gfx::boxConvolveARGB8888(a, b, n); gfx::boxConvolveARGB8888(b, a, n); gfx::boxConvolveARGB8888(a, b, n);
#pragma once

#include "gfx/drawing/PixelBuffer.h"

namespace gfx {

// Blurs all four channels (alpha included) of `source` into `destination`; the two may be the same buffer.
// Returns false, touching nothing, when the kernel size is not a positive odd number or the sizes differ.
[[nodiscard]] bool boxConvolveARGB8888(const PixelBuffer& source, const PixelBuffer& destination, int kernelSize);

// The same on a single 8-bit channel per pixel (an alpha mask); `rowBytes` counts bytes of one channel.
[[nodiscard]] bool boxConvolveAlpha8(const uint8_t* source, size_t sourceRowBytes, uint8_t* destination,
    size_t destinationRowBytes, int width, int height, int kernelSize);

// The odd box size whose three passes approximate a Gaussian of standard deviation `radius` pixels:
// floor(radius * 3 * sqrt(2 * pi) / 4 + 0.5), plus one when even; 0 when the radius is not positive.
int boxKernelSizeForRadius(double radius);

} // namespace gfx
