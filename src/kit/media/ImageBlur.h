// kit::applyBlurWithRadius: a new image made from an image: blurred by three box passes that together
// approximate a Gaussian of the given radius (in points), its saturation changed by a colour matrix, the blur
// limited to where a mask's alpha allows, and washed with a tint. The result has the image's size at the
// screen's scale. A saturation change reaches the output only together with a blur. Any thread; it draws
// only into bitmaps it makes itself.
//
//   auto blurred = kit::applyBlurWithRadius(*picture, 2.0, gfx::Color::fromWhite(0, 0.2), 0.8, nullptr);
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/images/Image.h"

#include <memory>
#include <optional>

namespace kit {

// Radius 0 means no blur and a saturation delta factor of 1 no change. Logs and returns nullptr for an image
// less than one point wide or high.
std::shared_ptr<gfx::Image> applyBlurWithRadius(const gfx::Image& image, double blurRadius,
    std::optional<gfx::Color> tintColor, double saturationDeltaFactor, const gfx::Image* maskImage);

} // namespace kit
