#include "gfx/drawing/BoxBlur.h"
#include "gfx/drawing/ColorMatrix.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using gfx::PixelBuffer;

namespace {

struct Bitmap {
    Bitmap(int w, int h)
        : bytes(static_cast<size_t>(w) * h * 4 + 16)
        , buffer { bytes.data(), w, h, static_cast<size_t>(w) * 4 + 4 }
    {
        bytes.resize(buffer.rowBytes * h);
        buffer.data = bytes.data();
    }
    std::vector<uint8_t> bytes;
    PixelBuffer buffer;
};

Bitmap randomBitmap(int w, int h, unsigned seed)
{
    Bitmap b(w, h);
    std::mt19937 random(seed);
    for (uint8_t& byte : b.bytes)
        byte = static_cast<uint8_t>(random());
    return b;
}

// The mean of the n x n window with clamped coordinates, rounded to nearest, straight from the definition.
uint8_t referenceBox(const PixelBuffer& in, int x, int y, int channel, int n)
{
    int r = n / 2;
    long sum = 0;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            int sx = std::clamp(x + dx, 0, in.width - 1);
            int sy = std::clamp(y + dy, 0, in.height - 1);
            sum += in.row(sy)[sx * 4 + channel];
        }
    return static_cast<uint8_t>(std::lround(static_cast<double>(sum) / (n * n)));
}

} // namespace

TEST(BoxBlur, MatchesTheWindowMeanWithClampedEdges)
{
    for (int n : { 1, 3, 5, 9, 21 }) {
        Bitmap in = randomBitmap(13, 7, static_cast<unsigned>(n));
        Bitmap out(13, 7);
        ASSERT_TRUE(gfx::boxConvolveARGB8888(in.buffer, out.buffer, n));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                for (int c = 0; c < 4; ++c)
                    ASSERT_EQ(out.buffer.row(y)[x * 4 + c], referenceBox(in.buffer, x, y, c, n))
                        << "n=" << n << " at " << x << "," << y << " channel " << c;
    }
}

TEST(BoxBlur, WorksInPlaceAndRefusesEvenKernels)
{
    Bitmap in = randomBitmap(9, 9, 7);
    Bitmap copy = in;
    copy.buffer.data = copy.bytes.data();
    Bitmap expected(9, 9);
    ASSERT_TRUE(gfx::boxConvolveARGB8888(in.buffer, expected.buffer, 5));
    ASSERT_TRUE(gfx::boxConvolveARGB8888(copy.buffer, copy.buffer, 5));
    for (int y = 0; y < 9; ++y)
        EXPECT_TRUE(std::equal(copy.buffer.row(y), copy.buffer.row(y) + 36, expected.buffer.row(y)));

    Bitmap untouched = in;
    untouched.buffer.data = untouched.bytes.data();
    EXPECT_FALSE(gfx::boxConvolveARGB8888(in.buffer, untouched.buffer, 4));
    EXPECT_FALSE(gfx::boxConvolveARGB8888(in.buffer, untouched.buffer, 0));
    EXPECT_EQ(untouched.bytes, in.bytes);
}

TEST(BoxBlur, KernelSizesForTheBlurRadius)
{
    EXPECT_EQ(gfx::boxKernelSizeForRadius(2.0), 5);
    EXPECT_EQ(gfx::boxKernelSizeForRadius(4.0), 9); // floor(8.02) = 8, made odd
    EXPECT_EQ(gfx::boxKernelSizeForRadius(6.0), 11);
    EXPECT_EQ(gfx::boxKernelSizeForRadius(0), 0);
}

TEST(ColorMatrix, MultipliesChannelsInMemoryOrderAndClamps)
{
    Bitmap in(2, 1);
    const uint8_t pixels[8] = { 10, 20, 30, 255, 200, 100, 50, 128 };
    std::copy(std::begin(pixels), std::end(pixels), in.buffer.data);
    Bitmap out(2, 1);

    std::array<int16_t, 16> identity { 256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256 };
    ASSERT_TRUE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, identity, 256));
    EXPECT_TRUE(std::equal(pixels, pixels + 8, out.buffer.data));

    // Row i feeds input channel i into each output channel j.
    std::array<int16_t, 16> swapAndBoost { 0, 0, 256, 0, 0, 512, 0, 0, 256, 0, 0, 0, 0, 0, 0, 256 };
    ASSERT_TRUE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, swapAndBoost, 256));
    EXPECT_EQ(out.buffer.data[0], 30);
    EXPECT_EQ(out.buffer.data[1], 40);
    EXPECT_EQ(out.buffer.data[2], 10);
    EXPECT_EQ(out.buffer.data[5], 200);
    EXPECT_EQ(out.buffer.data[6], 200);

    std::array<int16_t, 16> negative { -256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256 };
    ASSERT_TRUE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, negative, 256));
    EXPECT_EQ(out.buffer.data[0], 0);

    std::array<int16_t, 16> half { 128, 0, 0, 0, 0, 128, 0, 0, 0, 0, 128, 0, 0, 0, 0, 128 };
    ASSERT_TRUE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, half, 256));
    EXPECT_EQ(out.buffer.data[3], 128); // 127.5 rounds away from zero
    EXPECT_EQ(out.buffer.data[7], 64);
    EXPECT_FALSE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, half, 0));
}

TEST(ColorMatrix, SaturationMatrixAgreesWithTheFormula)
{
    // The desaturating matrix the blur effect builds for factor 0.8, in B, G, R, A memory order.
    double s = 0.8;
    double rows[16]
        = { 0.0722 + 0.9278 * s, 0.0722 - 0.0722 * s, 0.0722 - 0.0722 * s, 0, 0.7152 - 0.7152 * s, 0.7152 + 0.2848 * s,
              0.7152 - 0.7152 * s, 0, 0.2126 - 0.2126 * s, 0.2126 - 0.2126 * s, 0.2126 + 0.7873 * s, 0, 0, 0, 0, 1 };
    std::array<int16_t, 16> matrix {};
    for (int i = 0; i < 16; ++i)
        matrix[i] = static_cast<int16_t>(std::lround(static_cast<float>(rows[i] * 256)));
    Bitmap in = randomBitmap(5, 5, 3);
    Bitmap out(5, 5);
    ASSERT_TRUE(gfx::matrixMultiplyARGB8888(in.buffer, out.buffer, matrix, 256));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            for (int j = 0; j < 4; ++j) {
                double sum = 0;
                for (int i = 0; i < 4; ++i)
                    sum += in.buffer.row(y)[x * 4 + i] * matrix[i * 4 + j];
                long expected = std::clamp(std::lround(sum / 256), 0L, 255L);
                EXPECT_EQ(out.buffer.row(y)[x * 4 + j], expected);
            }
}
