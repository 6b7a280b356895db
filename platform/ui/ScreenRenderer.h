// ui::ScreenRenderer: draws what the screen shows: the application's visible windows, back to front, each
// placed by its frame, then the status strip (a plain 20-point bar, white for the default style and black
// for light content, with a small ring while the network-activity flag is on). Hosts call it after the
// end-of-turn passes. Main thread.
//
//   auto frame = ui::ScreenRenderer::renderImage();   // the screen at its scale, animations as now drawn
//   frame->writePNG("frame.png");
#pragma once

#include "gfx/Context.h"
#include "gfx/Image.h"
#include "ui/Renderer.h"

#include <memory>

namespace ui {

class ScreenRenderer {
public:
    // `context`'s user space is the screen's, in points.
    static void render(gfx::Context& context, const RenderOptions& options = {});
    // A new opaque image of the screen's bounds at its scale; nullptr when the screen has no pixels.
    static std::shared_ptr<gfx::Image> renderImage(const RenderOptions& options = {});

private:
    static void renderStatusBar(gfx::Context& context);
};

} // namespace ui
