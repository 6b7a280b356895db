// Taking the AMR frames out of a 3GP voice file (as Android phones record them): the box that follows the
// "ftyp" box holds the frames, which become AMR storage data behind the "#!AMR\n" magic. Callable from any
// thread.
//
//   base::Data amr = Unwrap3gpToAmr(download); // unchanged when it is not such a file
#pragma once

#include "base/Value.h"

#include <cstdint>
#include <span>

namespace voice {

// New AMR storage data, or a copy of the input when it is not a 3GP file whose second box head lies within
// the data with a plain 32-bit size of at least 8. A second box that runs past the end of the data yields
// the frames that are present.
base::Data Unwrap3gpToAmr(std::span<const uint8_t> data);

} // namespace voice
