#include "gfx/drawing/Color.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

    uint32_t toByte(double component)
    {
        return static_cast<uint32_t>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
    }

} // namespace

uint32_t Color::premultipliedARGB() const
{
    double opacity = std::clamp(a, 0.0, 1.0);
    return toByte(opacity) << 24 | toByte(r * opacity) << 16 | toByte(g * opacity) << 8 | toByte(b * opacity);
}

Color Color::fromPremultipliedARGB(uint32_t pixel)
{
    uint32_t alpha = pixel >> 24;
    if (alpha == 0)
        return clear();
    auto channel = [alpha](uint32_t value) { return std::min(1.0, static_cast<double>(value) / alpha); };
    return { channel(pixel >> 16 & 0xFF), channel(pixel >> 8 & 0xFF), channel(pixel & 0xFF), alpha / 255.0 };
}

} // namespace gfx
