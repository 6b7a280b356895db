#include "ui/render/ScreenFrame.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/FreedMemory.h"
#include "gfx/drawing/DrawingCaches.h"
#include "ui/layer/Layer.h"
#include "ui/render/FrameClock.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/render/ShadowRasters.h"
#include "ui/view/Screen.h"

#include <cairo.h>
#include <functional>
#include <optional>
#include <utility>

namespace ui {

namespace {

    // How long after a redraw the memory that frames freed goes back to the system: often enough that a screen
    // at rest, or one with a small animation that never ends, soon holds only what it shows; seldom enough that
    // walking the heap costs a busy screen nothing to speak of. A screen whose layers kept their values for
    // that long is at rest, even while an animation that never ends turns on it: what drawing kept for the
    // screens shown before it goes too, once for each time it comes to rest.
    constexpr base::Duration returnFreedMemoryAfter { 1 };
    // Main thread: whether the return is already due, whether a frame was drawn since it was made due, the
    // layers' change count when it was made due, and the count at which the screen last came to rest.
    bool freedMemoryReturnDue = false;
    bool redrawnSinceDue = false;
    uint64_t changesWhenDue = 0;
    std::optional<uint64_t> restedAtChange;

    // Drops what drawing keeps for screens no longer shown: the drawing caches and the drawings of views
    // outside the windows.
    void releaseWhatRestDoesNotNeed()
    {
        gfx::releaseDrawingCaches();
        ShadowRasters::main().clear();
        Layer::releaseContentsDrawnOutsideWindows();
    }

    // Returns the memory freed by the frames drawn until then, a moment after a redraw; once no layer has
    // changed for that moment, drops first what rest does not need.
    void returnFreedMemory()
    {
        uint64_t changes = Layer::changeCount();
        if (changes == changesWhenDue && restedAtChange != changes) {
            releaseWhatRestDoesNotNeed();
            // Letting go of drawings changes layers outside the windows, not the screen at rest.
            changes = Layer::changeCount();
            restedAtChange = changes;
        }
        if (std::exchange(redrawnSinceDue, false)) {
            changesWhenDue = changes;
            base::RunLoop::main().performAfter(returnFreedMemoryAfter, returnFreedMemory);
        } else {
            freedMemoryReturnDue = false;
        }
        base::returnFreedMemoryToSystem();
    }

    void returnFreedMemorySoon()
    {
        if (std::exchange(freedMemoryReturnDue, true)) {
            redrawnSinceDue = true;
            return;
        }
        changesWhenDue = Layer::changeCount();
        base::RunLoop::main().performAfter(returnFreedMemoryAfter, returnFreedMemory);
    }

    gfx::Rect scaled(const gfx::Rect& r, double by)
    {
        return { r.minX() * by, r.minY() * by, r.width() * by, r.height() * by };
    }

    // Runs `draw` on `context` clipped to `pixels` (whole device pixels), which start cleared as a new bitmap's.
    void redrawPixels(gfx::Context& context, const gfx::Rect& pixels, const std::function<void()>& draw)
    {
        cairo_t* cr = context.cairo();
        cairo_matrix_t userSpace;
        cairo_get_matrix(cr, &userSpace);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_rectangle(cr, pixels.minX(), pixels.minY(), pixels.width(), pixels.height());
        cairo_clip(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_matrix(cr, &userSpace);
        draw();
        cairo_restore(cr);
    }

} // namespace

ScreenFrame::StripState ScreenFrame::stripState()
{
    Application& application = Application::shared();
    return { application.isStatusBarHidden(), application.statusBarFrame(), application.statusBarStyle(),
        application.statusBarNetwork(), application.isNetworkActivityIndicatorVisible(),
        ScreenRenderer::statusBarMinute() };
}

bool ScreenFrame::ensureBitmap()
{
    gfx::Size size = Screen::main().bounds().size;
    double scale = Screen::main().scale();
    if (m_context && size == m_size && scale == m_scale)
        return true;
    m_context = gfx::Context::makeBitmap(size, scale, true);
    m_size = size;
    m_scale = scale;
    m_damage = {};
    return m_context != nullptr;
}

gfx::Rect ScreenFrame::update(const RenderOptions& options)
{
    BASE_ASSERT_MAIN_THREAD();
    auto before = m_context;
    if (!ensureBitmap())
        return gfx::Rect::null();
    RenderOptions drawn = options;
    if (drawn.presentation && !drawn.instant)
        drawn.instant = FrameClock::main().now();

    gfx::Rect screen = Screen::main().bounds();
    gfx::Rect picture { 0, 0, screen.width(), screen.height() };
    m_damage.update(ScreenRenderer::visibleRoots(), drawn, screen);
    DamageRegion area;
    auto addVisible = [&](const gfx::Rect& r) { area.add(r.intersection(picture)); };
    if (m_context != before)
        addVisible(picture);
    for (const gfx::Rect& part : m_damage.damaged().parts())
        addVisible(part.offsetBy(-screen.minX(), -screen.minY()));
    StripState strip = stripState();
    if (strip != m_strip) {
        addVisible({ 0, 0, m_strip.frame.width(), m_strip.frame.height() });
        addVisible({ 0, 0, strip.frame.width(), strip.frame.height() });
        m_strip = strip;
    }

    // Each part is redrawn on its own, so that changes far apart do not redraw all between them.
    drawn.damage = &m_damage;
    gfx::Rect redrawn = gfx::Rect::null();
    for (const gfx::Rect& part : area.parts()) {
        gfx::Rect pixels = scaled(part, m_scale).integral();
        drawn.area = scaled(pixels, 1 / m_scale).offsetBy(screen.minX(), screen.minY());
        redrawPixels(*m_context, pixels, [&] { ScreenRenderer::render(*m_context, drawn); });
        redrawn = DamageRegion::unite(redrawn, pixels);
    }
    if (!redrawn.isNull())
        returnFreedMemorySoon();
    return redrawn;
}

std::optional<gfx::PixelBuffer> ScreenFrame::pixels() { return m_context ? m_context->bitmap() : std::nullopt; }

} // namespace ui
