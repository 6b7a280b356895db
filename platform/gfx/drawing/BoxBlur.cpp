#include "gfx/drawing/BoxBlur.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace gfx {

namespace {

    // Sums each window along rows (exact, no rounding), then adds those sums along columns and divides once, so
    // the result is the exact window mean rounded to nearest. The row sums are kept only for the rows the
    // column window spans (a ring of kernelSize + 1 rows), not for the whole image. Each source row is summed
    // before its destination row is written, so the two may be the same buffer.
    template <int Channels>
    void boxConvolve(const uint8_t* source, size_t sourceRowBytes, uint8_t* destination, size_t destinationRowBytes,
        int width, int height, int kernelSize)
    {
        const int r = kernelSize / 2;
        const size_t stride = static_cast<size_t>(width) * Channels;
        const int ringRows = kernelSize + 1;
        std::vector<uint32_t> ring(stride * ringRows);
        std::vector<int> clampedX(width + 2 * r + 1);
        for (int i = 0; i < width + 2 * r + 1; ++i)
            clampedX[i] = std::clamp(i - r, 0, width - 1);

        auto sumRow = [&](int y) {
            const uint8_t* in = source + static_cast<size_t>(y) * sourceRowBytes;
            uint32_t* out = ring.data() + static_cast<size_t>(y % ringRows) * stride;
            uint32_t running[Channels] = {};
            for (int i = 0; i < kernelSize; ++i)
                for (int c = 0; c < Channels; ++c)
                    running[c] += in[clampedX[i] * Channels + c];
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < Channels; ++c)
                    out[x * Channels + c] = running[c];
                // Slide: add the pixel entering at x + r + 1, drop the one leaving at x - r.
                const uint8_t* entering = in + clampedX[x + kernelSize] * Channels;
                const uint8_t* leaving = in + clampedX[x] * Channels;
                for (int c = 0; c < Channels; ++c)
                    running[c] += entering[c] - leaving[c];
            }
        };
        // The column window at row y spans the rows y - r to y + r + 1 (clamped): at most ringRows rows, summed
        // in order as the window reaches them.
        int summed = -1;
        auto rowAt = [&](int y) {
            y = std::clamp(y, 0, height - 1);
            while (summed < y)
                sumRow(++summed);
            return ring.data() + static_cast<size_t>(y % ringRows) * stride;
        };

        const uint32_t area = static_cast<uint32_t>(kernelSize) * kernelSize;
        std::vector<uint32_t> running(stride);
        for (int i = -r; i <= r; ++i) {
            const uint32_t* row = rowAt(i);
            for (size_t k = 0; k < stride; ++k)
                running[k] += row[k];
        }
        for (int y = 0; y < height; ++y) {
            uint8_t* out = destination + static_cast<size_t>(y) * destinationRowBytes;
            for (size_t k = 0; k < stride; ++k)
                out[k] = static_cast<uint8_t>((running[k] + area / 2) / area);
            const uint32_t* entering = rowAt(y + r + 1);
            const uint32_t* leaving = rowAt(y - r);
            for (size_t k = 0; k < stride; ++k)
                running[k] += entering[k] - leaving[k];
        }
    }

    bool validKernel(int kernelSize) { return kernelSize > 0 && kernelSize % 2 == 1; }

} // namespace

bool boxConvolveARGB8888(const PixelBuffer& source, const PixelBuffer& destination, int kernelSize)
{
    if (!validKernel(kernelSize) || source.width != destination.width || source.height != destination.height)
        return false;
    if (source.width <= 0 || source.height <= 0)
        return true;
    boxConvolve<4>(
        source.data, source.rowBytes, destination.data, destination.rowBytes, source.width, source.height, kernelSize);
    return true;
}

bool boxConvolveAlpha8(const uint8_t* source, size_t sourceRowBytes, uint8_t* destination, size_t destinationRowBytes,
    int width, int height, int kernelSize)
{
    if (!validKernel(kernelSize))
        return false;
    if (width <= 0 || height <= 0)
        return true;
    boxConvolve<1>(source, sourceRowBytes, destination, destinationRowBytes, width, height, kernelSize);
    return true;
}

int boxKernelSizeForRadius(double radius)
{
    if (!(radius > 0))
        return 0;
    int n = static_cast<int>(std::floor(radius * 3 * std::sqrt(2 * std::numbers::pi) / 4 + 0.5));
    if (n % 2 == 0)
        ++n;
    return n;
}

} // namespace gfx
