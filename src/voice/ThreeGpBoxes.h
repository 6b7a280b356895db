// Walking the boxes of a 3GP file: each box is a 32-bit big-endian size (head included), a four-letter type,
// then its payload, which for a container box is a run of boxes again. Only what the voice reader needs is
// read: the plain 32-bit size form; a box of size 0 ("to the end"), 1 (a 64-bit size follows) or below a box
// head ends a walk. Nothing is ever read past the data. Callable from any thread.
//
//   auto boxes = voice::ThreeGpBoxesIn(file, 16, file.size());
//   if (auto* mdat = voice::FindThreeGpBox(file, boxes, "mdat")) frames = file.subspan(mdat->payloadStart, ...);
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace voice {

struct ThreeGpBox {
    uint64_t offset; // where its head starts
    uint64_t payloadStart;
    uint64_t end; // as declared: it may lie past the range the box was found in
};

// The boxes that follow one another from `begin` up to `end` (at most the data's size). The last one may run
// past `end`: no box is looked for after it.
std::vector<ThreeGpBox> ThreeGpBoxesIn(std::span<const uint8_t> data, uint64_t begin, uint64_t end);

// The first of `boxes` whose type is `type` (four letters), or nullptr.
const ThreeGpBox* FindThreeGpBox(std::span<const uint8_t> data, const std::vector<ThreeGpBox>& boxes, const char* type);

// The boxes inside `box`'s payload, as far as the data holds them.
std::vector<ThreeGpBox> ThreeGpChildren(std::span<const uint8_t> data, const ThreeGpBox& box);

} // namespace voice
