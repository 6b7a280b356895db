// Taking the AMR frames out of a 3GP voice file (as Android phones record them): the "mdat" box among the
// top-level boxes after "ftyp" holds the frames, which become AMR storage data behind the "#!AMR\n" magic.
// Other recorders put a "free" or "moov" box first, so the boxes are walked rather than the next one taken.
// Callable from any thread.
//
//   base::Data amr = Unwrap3gpToAmr(download); // unchanged when it is not such a file
#pragma once

#include "base/values/Value.h"

#include <cstdint>
#include <span>

namespace voice {

// New AMR storage data, or a copy of the input when it is not a 3GP file with an "mdat" box among the
// top-level boxes that follow one another, within the data and with plain 32-bit sizes of at least 8, after
// the "ftyp" box; a copy too when a track's sample entry says it holds anything but AMR narrow-band ("samr"),
// such as wide-band ("sawb"), which would otherwise be decoded as noise. An "mdat" box that runs past the end
// of the data yields the frames that are present.
base::Data Unwrap3gpToAmr(std::span<const uint8_t> data);

} // namespace voice
