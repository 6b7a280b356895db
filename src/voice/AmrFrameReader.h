// Reading AMR-NB storage frames: the "#!AMR\n" magic, the frame-size table of the eight bit rates, and the two
// readers that copy one whole frame into a fixed 32-byte buffer. Plain functions without state, callable from
// any thread. A frame is only ever read when it lies wholly within the data.
//
//   std::array<uint8_t, AmrFrameBufferSize> frame;
//   size_t size = 0; uint8_t header = 0;
//   if (ReadFirstAmrFrame(amr, AmrMagic.size(), frame, size, header)) decode(frame);
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace voice {

inline constexpr std::array<uint8_t, 6> AmrMagic = { '#', '!', 'A', 'M', 'R', '\n' };
// The largest frame (12.2 kbit/s) with its header byte.
inline constexpr size_t AmrFrameBufferSize = 32;
using AmrFrameBuffer = std::array<uint8_t, AmrFrameBufferSize>;

[[nodiscard]] bool HasAmrMagic(std::span<const uint8_t> bytes);

// The frame type carried in bits 3-6 of a frame's header byte.
constexpr unsigned AmrFrameType(uint8_t header) { return (header >> 3) & 0x0f; }

// Size in bytes, header included, of a speech frame of type 0-7; 0 for types 8-15, which have no entry.
size_t AmrFrameSize(unsigned frameType);

// Reads the frame at `offset` into `frame` and reports its size and header byte. Returns the size, or 0 when
// no whole speech frame starts there (too little data, or a frame type without a size).
size_t ReadFirstAmrFrame(
    std::span<const uint8_t> bytes, size_t offset, AmrFrameBuffer& frame, size_t& outSize, uint8_t& outHeader);

// Scans from `offset` for the next byte equal to `header` and reads the `size`-byte frame starting there.
// Returns the bytes skipped before it plus `size`, or 0 when no further whole frame exists.
size_t ReadNextAmrFrame(
    std::span<const uint8_t> bytes, size_t offset, AmrFrameBuffer& frame, size_t size, uint8_t header);

} // namespace voice
