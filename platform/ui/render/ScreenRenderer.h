// ui::ScreenRenderer: draws what the screen shows: the application's visible windows, back to front, each
// placed by its frame, then the status strip over the top 20 points: no background of its own, and in black
// for the default style or white for light content, the network state at the left (filled bars while a
// network can be reached, outlined ones while none can), a small ring beside it while the network-activity
// flag is on, and the time (hours and minutes) in the middle. Hosts call it after the end-of-turn passes,
// and again when statusBarMinute() changes. Main thread.
//
//   auto frame = ui::ScreenRenderer::renderImage();   // the screen at its scale, animations as now drawn
//   frame->writePNG("frame.png");
#pragma once

#include "gfx/drawing/Context.h"
#include "gfx/images/Image.h"
#include "ui/view/Application.h"
#include "ui/render/Renderer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

class Layer;

class ScreenRenderer {
public:
    // `context`'s user space is the screen's, in points.
    static void render(gfx::Context& context, const RenderOptions& options = {});
    // A new opaque image of the screen's bounds at its scale; nullptr when the screen has no pixels.
    static std::shared_ptr<gfx::Image> renderImage(const RenderOptions& options = {});

    // The layers of the windows drawn, back to front.
    static std::vector<Layer*> visibleRoots();

    // The minute the strip's clock shows; a host presents again when it changes.
    static int64_t statusBarMinute();

private:
    static void renderStatusBar(gfx::Context& context);
    // Returns where the next item of the strip may start.
    static double drawNetwork(gfx::Context& context, StatusBarNetwork network, double stripHeight);
};

} // namespace ui
