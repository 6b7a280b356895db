// gfx::Color: a device-RGB colour as red, green, blue and alpha doubles from 0 to 1. A plain value, any thread.
//
//   auto veil = gfx::Color::fromWhite(0.0, 0.2);
//   auto box = gfx::Color::black().withAlpha(0.8);
//   uint32_t pixel = gfx::Color::red().premultipliedARGB();   // 0xFFFF0000
#pragma once

#include <cstdint>

namespace gfx {

struct Color {
    double r { 0 };
    double g { 0 };
    double b { 0 };
    double a { 0 };

    static constexpr Color rgb(double red, double green, double blue, double alpha = 1)
    {
        return { red, green, blue, alpha };
    }
    // A grey level: red, green and blue all equal `white`.
    static constexpr Color fromWhite(double white, double alpha) { return { white, white, white, alpha }; }

    static constexpr Color black() { return { 0, 0, 0, 1 }; }
    static constexpr Color darkGray() { return fromWhite(1.0 / 3, 1); }
    static constexpr Color lightGray() { return fromWhite(2.0 / 3, 1); }
    static constexpr Color white() { return { 1, 1, 1, 1 }; }
    static constexpr Color gray() { return fromWhite(0.5, 1); }
    static constexpr Color red() { return { 1, 0, 0, 1 }; }
    static constexpr Color green() { return { 0, 1, 0, 1 }; }
    static constexpr Color blue() { return { 0, 0, 1, 1 }; }
    static constexpr Color cyan() { return { 0, 1, 1, 1 }; }
    static constexpr Color yellow() { return { 1, 1, 0, 1 }; }
    static constexpr Color magenta() { return { 1, 0, 1, 1 }; }
    static constexpr Color orange() { return { 1, 0.5, 0, 1 }; }
    static constexpr Color purple() { return { 0.5, 0, 0.5, 1 }; }
    static constexpr Color brown() { return { 0.6, 0.4, 0.2, 1 }; }
    static constexpr Color clear() { return { 0, 0, 0, 0 }; }

    constexpr Color withAlpha(double alpha) const { return { r, g, b, alpha }; }

    // The 32-bit pixel of this colour as drawing surfaces store it: alpha in the top byte, colour channels
    // premultiplied by alpha, each component clamped to [0, 1] and rounded to the nearest of 0..255.
    uint32_t premultipliedARGB() const;
    // The inverse of premultipliedARGB (exact up to the 8-bit rounding); a zero alpha gives clear.
    static Color fromPremultipliedARGB(uint32_t pixel);

    friend bool operator==(const Color&, const Color&) = default;
};

} // namespace gfx
