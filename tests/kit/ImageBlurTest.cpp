// The blur effect against a straightforward reference: three clamped box passes in plain loops, the
// saturation matrix applied channel by channel, then the tint painted over.
#include "base/system/Facts.h"
#include "base/system/Log.h"
#include "kit/media/ImageBlur.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

// Opaque pixels as (b, g, r, a) bytes, row by row.
struct Pixels {
    int width;
    int height;
    std::vector<std::array<int, 4>> data;
    std::array<int, 4>& at(int x, int y) { return data[static_cast<size_t>(y * width + x)]; }
    const std::array<int, 4>& at(int x, int y) const { return data[static_cast<size_t>(y * width + x)]; }
};

Pixels pattern(int width, int height)
{
    Pixels p { width, height, {} };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.data.push_back({ (x * 53 + y * 7) % 256, (x * x * 5 + y * 31) % 256, (x * 11 + y * y * 13) % 256, 255 });
    return p;
}

std::shared_ptr<gfx::Image> imageOf(const Pixels& p, double scale)
{
    std::vector<uint32_t> words;
    for (const auto& c : p.data)
        words.push_back(uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16 | uint32_t(c[3]) << 24);
    gfx::PixelBuffer buffer { reinterpret_cast<uint8_t*>(words.data()), p.width, p.height, size_t(p.width) * 4 };
    return gfx::Image::fromPixels(buffer, scale);
}

Pixels pixelsOf(const gfx::Image& image)
{
    Pixels p { image.pixelWidth(), image.pixelHeight(), {} };
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            uint32_t w = image.pixel(x, y);
            p.data.push_back({ int(w & 0xff), int(w >> 8 & 0xff), int(w >> 16 & 0xff), int(w >> 24) });
        }
    }
    return p;
}

Pixels boxPass(const Pixels& in, int n)
{
    Pixels out = in;
    int r = n / 2;
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx)
                        sum += in.at(std::clamp(x + dx, 0, in.width - 1), std::clamp(y + dy, 0, in.height - 1))[c];
                out.at(x, y)[c] = static_cast<int>(std::floor(sum / (n * n) + 0.5));
            }
        }
    }
    return out;
}

Pixels saturate(const Pixels& in, double s)
{
    // Luminance weights of blue, green and red; each output channel mixes the luminance with its own input.
    const double weight[3] = { 0.0722, 0.7152, 0.2126 };
    const double keep[3] = { 0.9278, 0.2848, 0.7873 };
    Pixels out = in;
    for (size_t i = 0; i < in.data.size(); ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) {
                double factor = k == j ? weight[k] + keep[k] * s : weight[k] - weight[k] * s;
                sum += in.data[i][k] * std::round(factor * 256);
            }
            out.data[i][j] = std::clamp(static_cast<int>(std::round(sum / 256)), 0, 255);
        }
    }
    return out;
}

Pixels tint(const Pixels& in, double white, double alpha)
{
    Pixels out = in;
    for (auto& pixel : out.data)
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<int>(std::round(white * 255 * alpha + pixel[c] * (1 - alpha)));
    return out;
}

void expectWithinOne(const Pixels& actual, const Pixels& expected)
{
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    int worst = 0;
    for (size_t i = 0; i < actual.data.size(); ++i)
        for (int c = 0; c < 4; ++c)
            worst = std::max(worst, std::abs(actual.data[i][c] - expected.data[i][c]));
    EXPECT_LE(worst, 1);
}

class ImageBlur : public testing::Test {
protected:
    void SetUp() override { base::Facts::current().setScreenScale(2); }
    void TearDown() override { base::Facts::current().setScreenScale(2); }

    Pixels source { pattern(14, 12) };
    std::shared_ptr<gfx::Image> image { imageOf(source, 2) };
};

TEST_F(ImageBlur, TheViewersBlurMatchesTheReference)
{
    auto result = kit::applyBlurWithRadius(*image, 2.0, gfx::Color::fromWhite(0, 0.2), 0.8, nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scale(), 2);
    int n = 9; // radius 2 points at scale 2
    Pixels expected = tint(saturate(boxPass(boxPass(boxPass(source, n), n), n), 0.8), 0, 0.2);
    expectWithinOne(pixelsOf(*result), expected);
}

TEST_F(ImageBlur, BlurAloneAtScaleOneUsesTheSmallerKernel)
{
    base::Facts::current().setScreenScale(1);
    auto flat = imageOf(source, 1);
    auto result = kit::applyBlurWithRadius(*flat, 2.0, std::nullopt, 1.0, nullptr);
    ASSERT_TRUE(result);
    int n = 5;
    expectWithinOne(pixelsOf(*result), boxPass(boxPass(boxPass(source, n), n), n));
}

TEST_F(ImageBlur, ASaturationChangeWithoutBlurDoesNotReachTheOutput)
{
    auto result = kit::applyBlurWithRadius(*image, 0, std::nullopt, 0.8, nullptr);
    ASSERT_TRUE(result);
    expectWithinOne(pixelsOf(*result), source);

    auto tinted = kit::applyBlurWithRadius(*image, 0, gfx::Color::fromWhite(1, 0.5), 0.0, nullptr);
    expectWithinOne(pixelsOf(*tinted), tint(source, 1, 0.5));
}

TEST_F(ImageBlur, NoEffectRedrawsACopyAtTheScreenScale)
{
    auto single = imageOf(pattern(4, 4), 1);
    auto result = kit::applyBlurWithRadius(*single, 0, std::nullopt, 1.0, nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scale(), 2);
    EXPECT_EQ(result->size(), (gfx::Size { 4, 4 }));
    EXPECT_EQ(result->pixelWidth(), 8);
}

TEST_F(ImageBlur, TheMaskLimitsTheBlur)
{
    Pixels mask { 14, 12, {} };
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 14; ++x)
            mask.data.push_back({ 0, 0, 0, x < 7 ? 255 : 0 });
    auto maskImage = imageOf(mask, 2);
    auto result = kit::applyBlurWithRadius(*image, 2.0, std::nullopt, 1.0, maskImage.get());
    ASSERT_TRUE(result);
    Pixels blurred = boxPass(boxPass(boxPass(source, 9), 9), 9);
    Pixels actual = pixelsOf(*result);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 14; ++x) {
            const auto& expected = x < 7 ? blurred.at(x, y) : source.at(x, y);
            for (int c = 0; c < 4; ++c)
                ASSERT_LE(std::abs(actual.at(x, y)[c] - expected[c]), 1) << x << "," << y;
        }
    }
}

TEST_F(ImageBlur, AnImageSmallerThanOnePointIsRefused)
{
    auto tiny = imageOf(pattern(1, 1), 2);
    base::Log::ScopedCapture capture;
    EXPECT_EQ(kit::applyBlurWithRadius(*tiny, 2.0, std::nullopt, 1.0, nullptr), nullptr);
    EXPECT_TRUE(capture.contains("*** error: invalid size: (0.50 x 0.50). Both dimensions must be >= 1: "));
}

} // namespace
