// core::rotateImageWithRadian and core::imageByScalingAndCroppingForSize: the two image helpers the screens
// use on photos and icons. Both make a new image at the source's scale and leave the source as it is; both
// answer nullptr for a size that gives no pixels. Any thread (they draw into a bitmap of their own).
//
//   auto turned = core::rotateImageWithRadian(*photo, std::numbers::pi / 2, false);
//   auto thumbnail = core::imageByScalingAndCroppingForSize(*photo, { 60, 60 });
#pragma once

#include "gfx/images/Image.h"
#include "gfx/geometry/Size.h"

#include <memory>

namespace core {

// The image turned about its centre by `angle` radians (positive turns clockwise on screen). In crop mode
// the result keeps the source's size and the corners that turn out of it are cut; otherwise the result is
// the bounding box of the turned image, with transparent corners.
std::shared_ptr<gfx::Image> rotateImageWithRadian(const gfx::Image& image, double angle, bool cropMode);

// An image of exactly `size` points: the source scaled in proportion until it covers the size, centred,
// and what overflows cut off.
std::shared_ptr<gfx::Image> imageByScalingAndCroppingForSize(const gfx::Image& image, gfx::Size size);

} // namespace core
