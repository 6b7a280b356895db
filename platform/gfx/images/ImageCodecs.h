// The PNG and JPEG readers and the PNG writer behind gfx::Image. Internal to gfx.
// Readers return a new ARGB32 cairo image surface, or nullptr for anything they cannot read safely.
#pragma once

#include "base/values/Value.h"

#include <cairo.h>
#include <cstddef>
#include <cstdint>

namespace gfx {

[[nodiscard]] bool looksLikePNG(const uint8_t* bytes, size_t length);
[[nodiscard]] bool looksLikeJPEG(const uint8_t* bytes, size_t length);
cairo_surface_t* decodePNG(const uint8_t* bytes, size_t length);
cairo_surface_t* decodeJPEG(const uint8_t* bytes, size_t length);
base::Data encodePNG(cairo_surface_t* surface);

// Whether a decoder may allocate an image of this many pixels.
[[nodiscard]] bool acceptableImageDimensions(int64_t width, int64_t height);

} // namespace gfx
