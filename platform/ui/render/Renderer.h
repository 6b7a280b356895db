// ui::Renderer: composites a layer tree into a gfx::Context: each layer placed by its position, anchor point
// and transform (the 2-D part; perspective is not drawn), its opacity applied to it and its sublayers as one
// group, its shadow (from its shadow path, or from the alpha of everything it draws; none when it masks to
// bounds), background and contents within its corner radius, sublayers clipped when it masks to bounds, and
// its border on top. Values are those drawn at an instant (running animations applied) or the model values.
// Main thread.
//
//   auto context = gfx::Context::makeBitmap({ 320, 568 }, 2);
//   ui::Renderer::renderLayer(*context, *window->layer(), {});
#pragma once

#include "base/time/Clock.h"
#include "gfx/drawing/Context.h"

#include <optional>

namespace ui {

class DamageTracker;
class Layer;
struct LayerProperties;

struct RenderOptions {
    // Running animations applied (at `instant`, or the frame clock's now); false: model values.
    bool presentation { true };
    std::optional<base::Clock::TimePoint> instant;
    // Draw the contents of layers still waiting for the display pass first (snapshots of trees not shown).
    bool displayPending { false };
    // When set, layers whose trees the tracker saw wholly outside `area` (in the space of the roots it
    // walked) are not drawn: for redrawing only a damaged part of a picture, clipped to it.
    const DamageTracker* damage { nullptr };
    gfx::Rect area;
};

class Renderer {
public:
    // Draws `layer` as its superlayer would: the context's user space is the superlayer's bounds space.
    static void renderLayer(gfx::Context& context, Layer& layer, const RenderOptions& options);
    // Draws `layer`'s background, contents, sublayers and border in its own bounds space, without its
    // position, transform, opacity or shadow.
    static void renderContents(gfx::Context& context, Layer& layer, const RenderOptions& options);

private:
    static void renderPlaced(
        gfx::Context& context, Layer& layer, const LayerProperties& p, const RenderOptions& options);
    static void renderBody(gfx::Context& context, Layer& layer, const LayerProperties& p, const RenderOptions& options);
};

} // namespace ui
