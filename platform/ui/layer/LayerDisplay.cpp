// ui::Layer: drawing a layer's own contents, and rendering its tree into a context.
#include "ui/layer/Layer.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/render/Renderer.h"
#include "ui/view/UpdateCycle.h"

namespace ui {

namespace {

    // A context for the layer's drawing: a bitmap of its bounds at its contents scale, or, when the bounds
    // hold no pixel, a recording surface, so that the drawing code still runs.
    std::shared_ptr<gfx::Context> makeDrawingContext(const gfx::Rect& bounds, double scale)
    {
        if (auto bitmap = gfx::Context::makeBitmap(bounds.size, scale))
            return bitmap;
        cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
        auto context = std::make_shared<gfx::Context>(recording, scale);
        cairo_surface_destroy(recording);
        return context;
    }

} // namespace

void Layer::setNeedsDisplay()
{
    BASE_ASSERT_MAIN_THREAD();
    m_needsDisplay = true;
    if (auto self = weak_from_this(); !self.expired())
        UpdateCycle::main().scheduleDisplay(std::move(self));
}

void Layer::displayIfNeeded()
{
    if (m_needsDisplay)
        display();
}

void Layer::display()
{
    m_needsDisplay = false;
    if (!m_drawsContent)
        return;
    const gfx::Rect& bounds = m_model.bounds;
    auto context = makeDrawingContext(bounds, m_model.contentsScale);
    context->translateBy(-bounds.origin.x, -bounds.origin.y);
    gfx::CurrentContext::push(context);
    bool drew = drawInContext(*context);
    gfx::CurrentContext::pop();
    if (!drew) {
        m_drawsContent = false;
        return;
    }
    cairo_surface_t* bitmap = cairo_get_target(context->cairo());
    if (cairo_surface_get_type(bitmap) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    // The drawing becomes the contents without a copy: the context goes, the image keeps its bitmap.
    cairo_surface_flush(bitmap);
    cairo_surface_reference(bitmap);
    context.reset();
    setContents(gfx::Image::adopt(bitmap, m_model.contentsScale));
}

bool Layer::drawInContext(gfx::Context& context)
{
    auto delegate = m_delegate.lock();
    return delegate && delegate->drawLayer(*this, context);
}

void Layer::renderInContext(gfx::Context& context)
{
    RenderOptions options;
    options.presentation = false;
    options.displayPending = true;
    Renderer::renderContents(context, *this, options);
}

} // namespace ui
