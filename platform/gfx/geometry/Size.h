// gfx::Size: a width and a height in points (doubles). A plain value, any thread.
//
//   gfx::Size size { 320, 568 };
#pragma once

namespace gfx {

struct Size {
    double width { 0 };
    double height { 0 };

    friend bool operator==(const Size&, const Size&) = default;
    friend Size operator*(Size s, double k) { return { s.width * k, s.height * k }; }
};

} // namespace gfx
