#include "core/helpers/ImageHelpers.h"

#include "gfx/drawing/Context.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

    gfx::Size boundingSize(gfx::Size size, double angle)
    {
        double cosine = std::abs(std::cos(angle));
        double sine = std::abs(std::sin(angle));
        return { size.width * cosine + size.height * sine, size.width * sine + size.height * cosine };
    }

} // namespace

std::shared_ptr<gfx::Image> rotateImageWithRadian(const gfx::Image& image, double angle, bool cropMode)
{
    if (!std::isfinite(angle))
        return nullptr;
    gfx::Size source = image.size();
    gfx::Size target = cropMode ? source : boundingSize(source, angle);
    auto context = gfx::Context::makeBitmap(target, image.scale());
    if (!context)
        return nullptr;
    context->translateBy(target.width / 2, target.height / 2);
    context->rotateBy(angle);
    context->drawImage(image, { -source.width / 2, -source.height / 2, source.width, source.height });
    return context->makeImage();
}

std::shared_ptr<gfx::Image> imageByScalingAndCroppingForSize(const gfx::Image& image, gfx::Size size)
{
    gfx::Size source = image.size();
    if (source.width <= 0 || source.height <= 0)
        return nullptr;
    auto context = gfx::Context::makeBitmap(size, image.scale());
    if (!context)
        return nullptr;
    double factor = std::max(size.width / source.width, size.height / source.height);
    double width = source.width * factor;
    double height = source.height * factor;
    context->drawImage(image, { (size.width - width) / 2, (size.height - height) / 2, width, height });
    return context->makeImage();
}

} // namespace core
