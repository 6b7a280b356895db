// base::returnLargeBlocksToSystem: makes every later allocation of 128 KiB or more a mapping of its own that
// goes back to the system as soon as it is freed. glibc's malloc otherwise raises that threshold to the size
// of each such block freed, after which the bitmaps a frame makes and drops (groups, shadow masks, resampled
// images) come from the heap, where their pages stay with the process at rest (some 4 MB after a walk
// through the screens). Call at start-up; where malloc is not glibc's (a sanitizer's), it does nothing.
//
//   int main() { base::returnLargeBlocksToSystem(); ... }
#pragma once

namespace base {

void returnLargeBlocksToSystem();

} // namespace base
