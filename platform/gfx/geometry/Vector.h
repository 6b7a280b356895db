// gfx::Vector: a direction and magnitude (dx, dy) in points, as the push behaviour of the dynamics takes it.
//
//   gfx::Vector push { 0, -1 };
#pragma once

namespace gfx {

struct Vector {
    double dx { 0 };
    double dy { 0 };

    friend bool operator==(const Vector&, const Vector&) = default;
};

} // namespace gfx
