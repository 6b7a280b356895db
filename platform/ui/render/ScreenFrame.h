// ui::ScreenFrame: the screen's picture kept from frame to frame in one bitmap, so that a host that shows
// frames draws again only what changed: each update asks a damage tracker (see DamageTracker.h) which parts
// of the windows' layer trees changed on the screen, adds the status strip when what it shows changed, and
// redraws only those parts, each on its own, clipped to it and skipping layers wholly outside it; the pixels
// there come out exactly as a whole redraw would make them. A second after a redraw, the memory the frames
// freed until then goes back to the system; once a second has passed without a layer changing (an animation
// that never ends may still turn), the drawing caches (gfx::releaseDrawingCaches, the shadow rasters) and the
// drawings of views outside the windows (Layer::releaseContentsDrawnOutsideWindows) are dropped first, so a
// screen at rest holds only what it shows. The first update, and the first after the screen's size or scale
// changed or after invalidate(), redraws everything. Main thread.
//
//   ui::ScreenFrame frame;
//   gfx::Rect dirty = frame.update();   // in pixels; null when nothing changed
//   if (!dirty.isNull()) show(*frame.pixels(), dirty);
#pragma once

#include "gfx/drawing/Context.h"
#include "gfx/drawing/PixelBuffer.h"
#include "gfx/geometry/Rect.h"
#include "ui/render/DamageTracker.h"
#include "ui/render/Renderer.h"
#include "ui/view/Application.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace ui {

class ScreenFrame {
public:
    // Brings the picture up to date with what the screen shows (at `options`' instant); returns the box
    // holding the parts redrawn, in whole pixels, or null when nothing changed.
    gfx::Rect update(const RenderOptions& options = {});
    // The picture's pixels (opaque, native-endian ARGB words); nullopt before the first update or when the
    // screen has no pixels.
    std::optional<gfx::PixelBuffer> pixels();
    // Makes the next update redraw everything.
    void invalidate() { m_context.reset(); }

private:
    struct StripState {
        bool hidden { true };
        gfx::Rect frame;
        StatusBarStyle style { StatusBarStyle::Default };
        StatusBarNetwork network { StatusBarNetwork::Unknown };
        bool activity { false };
        int64_t minute { 0 };
        friend bool operator==(const StripState&, const StripState&) = default;
    };
    static StripState stripState();
    // A new bitmap when there is none or the screen's size or scale changed; whether there is one.
    bool ensureBitmap();

    std::shared_ptr<gfx::Context> m_context;
    gfx::Size m_size;
    double m_scale { 0 };
    DamageTracker m_damage;
    StripState m_strip;
};

} // namespace ui
