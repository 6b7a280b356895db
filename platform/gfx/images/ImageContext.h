// gfx::ImageContext: offscreen bitmap contexts on the current-context stack of this thread, opened and closed
// in strict nesting. Scale 0 (or less) means the screen's scale (base::Facts).
//
//   gfx::ImageContext::begin({ 100, 40 }, false, 0);
//   gfx::CurrentContext::get()->fillRect({ 0, 0, 100, 40 });
//   auto image = gfx::ImageContext::image();
//   gfx::ImageContext::end();
#pragma once

#include "gfx/drawing/Context.h"

#include <memory>

namespace gfx {

class ImageContext {
public:
    // Pushes a new bitmap context of `size` points at `scale` (transparent, or black when opaque) and returns
    // it; for an empty size it pushes an empty entry and returns nullptr.
    static Context* begin(Size size, bool opaque, double scale);
    // A snapshot of the current image context, or nullptr when the top of the stack is not one.
    static std::shared_ptr<Image> image();
    // Pops the current image context; does nothing when the top of the stack is not one.
    static void end();
};

} // namespace gfx
