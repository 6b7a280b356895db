// gfx::startFontMap: makes the font map that the calling thread's text layout and drawing use, ahead of its
// first text. Making it starts fontconfig, which reads its configuration and font list on a thread of its own:
// begun early, that runs while the caller does its other work instead of holding up the first text layout.
// Optional, and later calls on the same thread do nothing; the application calls it at the top of main().
//
//   gfx::startFontMap();
#pragma once

namespace gfx {

void startFontMap();

} // namespace gfx
