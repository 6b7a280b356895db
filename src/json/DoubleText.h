// json::writeDoubleText: a finite double as the C library's "%.17g" prints it (0.1 as 0.10000000000000001,
// 100 as 100, 1e21 as 1e+21), the text the encoder writes for doubles. Values from 1e-11 up to 1e17, the
// usual coordinates, speeds and time zones, are computed exactly in 128-bit integers, about ten times faster
// than the general conversion, which the others go through.
//
//   char text[DoubleTextCapacity];
//   size_t length = json::writeDoubleText(0.1, text) - text; // "0.10000000000000001"
#pragma once

#include <cstddef>

namespace json {

// Room `out` needs, a few bytes more than the longest text, so that digits are copied in fixed-size blocks.
inline constexpr size_t DoubleTextCapacity = 48;

// Writes the text of `value`, which must be finite, at `out` and returns the byte after it.
char* writeDoubleText(double value, char* out);

} // namespace json
