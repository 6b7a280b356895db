// Locating the sample data of a recorder's CAF file: "caff", version and flags, then the chunks "desc", "free"
// and "data" in that order. Every chunk head is checked to lie within the bytes. Callable from any thread.
//
//   size_t start = FindCafDataOffset(file); // 0: not a CAF file of the expected form
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace voice {

// The offset of the "data" chunk's body (its leading edit count included), or 0 when the bytes do not start
// with "caff", or the first three chunks are not "desc", "free", "data" with non-zero sizes and heads that lie
// within the bytes.
size_t FindCafDataOffset(std::span<const uint8_t> bytes);

} // namespace voice
