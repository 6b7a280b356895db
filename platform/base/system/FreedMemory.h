// base::returnFreedMemoryToSystem: gives the pages of the heap that hold nothing any more back to the system.
// glibc's malloc keeps freed blocks, the bitmaps a frame makes and drops among them (groups, shadow masks,
// resampled images), in its heap for later use, so a process at rest would hold them for good. Call it when
// the application comes to rest, not on every frame: it walks the heap. Where malloc is not glibc's (a
// sanitizer's), it does nothing useful and no harm. Any thread.
//
//   base::returnFreedMemoryToSystem();   // after the screen has been still for a moment
#pragma once

namespace base {

void returnFreedMemoryToSystem();

} // namespace base
