// gfx::releaseDrawingCaches: drops what the calling thread's drawing keeps between frames to draw the same
// things faster (the blurred shadow masks, the blurs of groups' alphas, the resampled images, the laid-out
// texts), for a screen that has stopped changing: what it kept for screens no longer shown would otherwise
// stay until other drawing pushes it out. The next frames make again what they draw. Call it at rest, never
// every frame.
//
//   if (stillForASecond) { gfx::releaseDrawingCaches(); base::returnFreedMemoryToSystem(); }
#pragma once

namespace gfx {

void releaseDrawingCaches();

} // namespace gfx
