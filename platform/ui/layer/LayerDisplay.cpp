// ui::Layer: drawing a layer's own contents, and rendering its tree into a context.
#include "ui/layer/Layer.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/render/Renderer.h"
#include "ui/view/UpdateCycle.h"

#include <algorithm>
#include <map>
#include <typeindex>
#include <typeinfo>
#include <utility>

namespace ui {

namespace {

    // A layer's kind for drawing: its own class and its delegate's.
    using DrawingKind = std::pair<std::type_index, std::type_index>;

    // Whether the last layer of each kind drew anything (main thread). Most views draw nothing of their own (a
    // plain container, an image view, a button), and finding that out on a bitmap of their size costs a
    // cleared bitmap, several megabytes for a screen-sized view; a layer of a kind seen drawing nothing
    // finds out on a recording surface instead.
    std::map<DrawingKind, bool> kindsThatDraw;

    DrawingKind drawingKind(const Layer& layer, const std::shared_ptr<LayerDelegate>& delegate)
    {
        return { std::type_index(typeid(layer)), delegate ? std::type_index(typeid(*delegate)) : typeid(void) };
    }

    bool kindDraws(const DrawingKind& kind)
    {
        auto found = kindsThatDraw.find(kind);
        return found == kindsThatDraw.end() || found->second;
    }

    std::shared_ptr<gfx::Context> makeRecordingContext(double scale)
    {
        cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
        auto context = std::make_shared<gfx::Context>(recording, scale);
        cairo_surface_destroy(recording);
        return context;
    }

    // A context for the layer's drawing: a bitmap of its bounds at its contents scale, or, when the bounds
    // hold no pixel, a recording surface, so that the drawing code still runs.
    std::shared_ptr<gfx::Context> makeDrawingContext(const gfx::Rect& bounds, double scale)
    {
        if (auto bitmap = gfx::Context::makeBitmap(bounds.size, scale))
            return bitmap;
        return makeRecordingContext(scale);
    }

    // The layers whose contents a display() drew, each listed once while it holds that drawing (main thread).
    std::vector<std::weak_ptr<Layer>> layersHoldingDrawings;
    // The list's length when the layers gone were last taken out of it: an entry keeps its layer's memory
    // block, so a screen that never comes to rest takes them out whenever the list has doubled.
    size_t listedAfterPruning = 0;

    void listAsHoldingDrawing(std::weak_ptr<Layer> layer)
    {
        layersHoldingDrawings.push_back(std::move(layer));
        if (layersHoldingDrawings.size() < std::max<size_t>(256, 2 * listedAfterPruning))
            return;
        std::erase_if(layersHoldingDrawings, [](const std::weak_ptr<Layer>& weak) { return weak.expired(); });
        listedAfterPruning = layersHoldingDrawings.size();
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
    const DrawingKind kind = drawingKind(*this, m_delegate.lock());
    // A kind that drew nothing last time tries without a bitmap; one that draws after all draws again below.
    if (!kindDraws(kind) && !drawOwnContent(makeRecordingContext(m_model.contentsScale))) {
        m_drawsContent = false;
        return;
    }
    auto context = makeDrawingContext(m_model.bounds, m_model.contentsScale);
    bool drew = drawOwnContent(context);
    kindsThatDraw.insert_or_assign(kind, drew);
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
    m_drawnContents = m_model.contents;
    if (!std::exchange(m_listedAsDrawn, true))
        listAsHoldingDrawing(weak_from_this());
}

void Layer::releaseContentsDrawnOutsideWindows()
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(layersHoldingDrawings, [](const std::weak_ptr<Layer>& weak) {
        auto layer = weak.lock();
        if (!layer)
            return true;
        auto drawn = layer->m_drawnContents.lock();
        bool holdsDrawing = drawn && drawn == layer->m_model.contents;
        // A view's layer is drawn again when its view comes into a window (View::windowDidChange); a layer of
        // its own would not be.
        if (holdsDrawing && (layer->m_role != Role::ViewBacking || layer->isInWindow()))
            return false;
        if (holdsDrawing) {
            layer->setContents(nullptr);
            layer->m_needsDisplay = true;
        }
        layer->m_drawnContents.reset();
        layer->m_listedAsDrawn = false;
        return true;
    });
    listedAfterPruning = layersHoldingDrawings.size();
}

bool Layer::drawOwnContent(const std::shared_ptr<gfx::Context>& context)
{
    context->translateBy(-m_model.bounds.origin.x, -m_model.bounds.origin.y);
    gfx::CurrentContext::push(context);
    bool drew = drawInContext(*context);
    gfx::CurrentContext::pop();
    return drew;
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
