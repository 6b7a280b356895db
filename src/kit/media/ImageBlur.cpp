#include "kit/media/ImageBlur.h"

#include "base/system/Facts.h"
#include "base/system/Log.h"
#include "gfx/drawing/BoxBlur.h"
#include "gfx/drawing/ColorMatrix.h"
#include "gfx/drawing/Context.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kit {

namespace {
    constexpr double epsilon = std::numeric_limits<float>::epsilon();
    constexpr int32_t matrixDivisor = 256;

    // Rows are the input channels in memory order (blue, green, red, alpha), columns the output channels.
    std::array<int16_t, 16> saturationMatrix(double s)
    {
        const double rows[16] = {
            0.0722 + 0.9278 * s, 0.0722 - 0.0722 * s, 0.0722 - 0.0722 * s, 0, //
            0.7152 - 0.7152 * s, 0.7152 + 0.2848 * s, 0.7152 - 0.7152 * s, 0, //
            0.2126 - 0.2126 * s, 0.2126 - 0.2126 * s, 0.2126 + 0.7873 * s, 0, //
            0, 0, 0, 1, //
        };
        std::array<int16_t, 16> matrix {};
        for (size_t i = 0; i < matrix.size(); ++i)
            matrix[i] = static_cast<int16_t>(std::lround(static_cast<float>(rows[i] * matrixDivisor)));
        return matrix;
    }

    std::string describe(const gfx::Image& image)
    {
        char text[96];
        std::snprintf(text, sizeof text, "<image %d x %d pixels at scale %g>", image.pixelWidth(), image.pixelHeight(),
            image.scale());
        return text;
    }

    std::shared_ptr<gfx::Context> drawnCopy(const gfx::Image& image, gfx::Size size, double scale)
    {
        auto context = gfx::Context::makeBitmap(size, scale);
        if (context)
            context->drawImage(image, { 0, 0, size.width, size.height });
        return context;
    }

    // The blurred (and, with a saturation change, recoloured) pixels of `image`; the blur runs in place on two
    // bitmaps, three box passes back and forth. nullptr when no bitmap could be made.
    std::shared_ptr<gfx::Image> makeEffectImage(const gfx::Image& image, gfx::Size size, double scale,
        double blurRadius, bool hasSaturation, double saturationDeltaFactor)
    {
        auto effectIn = drawnCopy(image, size, scale);
        auto effectOut = gfx::Context::makeBitmap(size, scale);
        if (!effectIn || !effectOut)
            return nullptr;
        gfx::PixelBuffer a = *effectIn->bitmap();
        gfx::PixelBuffer b = *effectOut->bitmap();
        int kernel = gfx::boxKernelSizeForRadius(blurRadius * scale);
        if (!gfx::boxConvolveARGB8888(a, b, kernel) || !gfx::boxConvolveARGB8888(b, a, kernel)
            || !gfx::boxConvolveARGB8888(a, b, kernel))
            return nullptr;
        if (!hasSaturation)
            return effectOut->makeImage();
        if (!gfx::matrixMultiplyARGB8888(b, a, saturationMatrix(saturationDeltaFactor), matrixDivisor))
            return nullptr;
        return effectIn->makeImage();
    }

    // The effect image with each pixel scaled by the mask's alpha there (the mask stretched over the image).
    std::shared_ptr<gfx::Image> masked(const gfx::Image& effect, const gfx::Image& mask, gfx::Size size, double scale)
    {
        auto maskContext = drawnCopy(mask, size, scale);
        auto effectContext = drawnCopy(effect, size, scale);
        if (!maskContext || !effectContext)
            return nullptr;
        gfx::PixelBuffer alpha = *maskContext->bitmap();
        gfx::PixelBuffer pixels = *effectContext->bitmap();
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                uint32_t coverage = alpha.pixel(x, y) >> 24;
                uint32_t pixel = pixels.pixel(x, y);
                uint32_t result = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    uint32_t channel = (pixel >> shift) & 0xff;
                    result |= ((channel * coverage + 127) / 255) << shift;
                }
                pixels.setPixel(x, y, result);
            }
        }
        return effectContext->makeImage();
    }
} // namespace

std::shared_ptr<gfx::Image> applyBlurWithRadius(const gfx::Image& image, double blurRadius,
    std::optional<gfx::Color> tintColor, double saturationDeltaFactor, const gfx::Image* maskImage)
{
    gfx::Size size = image.size();
    if (size.width < 1 || size.height < 1) {
        char text[160];
        std::snprintf(text, sizeof text,
            "*** error: invalid size: (%.2f x %.2f). Both dimensions must be >= 1: ", size.width, size.height);
        base::log(text + describe(image));
        return nullptr;
    }
    double scale = base::Facts::current().screenScale();
    bool hasBlur = blurRadius > epsilon;
    bool hasSaturation = std::abs(saturationDeltaFactor - 1.0) > epsilon;

    auto output = drawnCopy(image, size, scale);
    if (!output)
        return nullptr;
    gfx::Rect rect { 0, 0, size.width, size.height };
    // A saturation change alone leaves the output as it is: the effect image is drawn only with a blur.
    if (hasBlur) {
        auto effect = makeEffectImage(image, size, scale, blurRadius, hasSaturation, saturationDeltaFactor);
        if (effect && maskImage)
            effect = masked(*effect, *maskImage, size, scale);
        if (effect)
            output->drawImage(*effect, rect);
    }
    if (tintColor) {
        output->save();
        output->setFillColor(*tintColor);
        output->fillRect(rect);
        output->restore();
    }
    return output->makeImage();
}

} // namespace kit
