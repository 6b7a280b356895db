// gfx::CurrentContext: the stack of current drawing contexts of this thread. The display pass pushes a view's
// context around its drawing code; ImageContext pushes offscreen bitmaps. Entries may be empty (a context
// that could not be made), so that every push still has its pop.
//
//   gfx::CurrentContext::push(context);
//   if (auto* c = gfx::CurrentContext::get()) c->fillRect(bounds);
//   gfx::CurrentContext::pop();
#pragma once

#include "gfx/drawing/Context.h"

#include <memory>

namespace gfx {

class CurrentContext {
public:
    // The top context, or nullptr when the stack is empty or its top entry is empty.
    static Context* get();
    static void push(std::shared_ptr<Context> context, bool isImageContext = false);
    // Removes the top entry; does nothing on an empty stack.
    static void pop();
    // Whether the top entry was pushed by ImageContext.
    [[nodiscard]] static bool topIsImageContext();
};

} // namespace gfx
