// ui::View: geometry, appearance, layout, drawing, coordinates and hit testing.
#include "ui/view/View.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "ui/view/Autoresizing.h"
#include "ui/input/GestureRecognizer.h"
#include "ui/layer/LayerGeometry.h"
#include "ui/render/Renderer.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace ui {

namespace {

    ContentsGravity gravityFor(ContentMode mode)
    {
        switch (mode) {
        case ContentMode::ScaleAspectFit:
            return ContentsGravity::ResizeAspect;
        case ContentMode::ScaleAspectFill:
            return ContentsGravity::ResizeAspectFill;
        case ContentMode::Center:
            return ContentsGravity::Center;
        case ContentMode::Top:
            return ContentsGravity::Top;
        case ContentMode::Bottom:
            return ContentsGravity::Bottom;
        case ContentMode::Left:
            return ContentsGravity::Left;
        case ContentMode::Right:
            return ContentsGravity::Right;
        case ContentMode::TopLeft:
            return ContentsGravity::TopLeft;
        case ContentMode::TopRight:
            return ContentsGravity::TopRight;
        case ContentMode::BottomLeft:
            return ContentsGravity::BottomLeft;
        case ContentMode::BottomRight:
            return ContentsGravity::BottomRight;
        default:
            return ContentsGravity::Resize;
        }
    }

} // namespace

View::View(const gfx::Rect& frame)
    : View(frame, std::make_shared<Layer>())
{
}

View::View(const gfx::Rect& frame, std::shared_ptr<Layer> layer)
    : m_layer(std::move(layer))
{
    m_layer->m_role = Layer::Role::ViewBacking;
    // The first frame is where the view starts, never an animation, even inside an animation block.
    applyFrame(m_layer->m_model, frame);
    m_layer->m_model.contentsScale = Screen::main().scale();
    m_layer->m_needsDisplay = true;
}

View::~View() = default;

void View::setFrame(const gfx::Rect& frame)
{
    gfx::Size old = m_layer->bounds().size;
    m_layer->setFrame(frame);
    boundsSizeChanged(old);
}

void View::setBounds(const gfx::Rect& bounds)
{
    gfx::Size old = m_layer->bounds().size;
    m_layer->setBounds(bounds);
    boundsSizeChanged(old);
}

void View::setCenter(gfx::Point center) { m_layer->setPosition(center); }

void View::setTransform(const gfx::AffineTransform& transform) { m_layer->setAffineTransform(transform); }

void View::boundsSizeChanged(gfx::Size oldSize)
{
    gfx::Size newSize = m_layer->bounds().size;
    if (newSize == oldSize)
        return;
    setNeedsLayout();
    if (m_contentMode == ContentMode::Redraw)
        setNeedsDisplay();
    if (!m_autoresizesSubviews)
        return;
    for (const auto& subview : std::vector(m_subviews)) {
        if (subview->m_autoresizingMask != AutoresizingMask::None)
            subview->setFrame(autoresizedFrame(subview->frame(), subview->m_autoresizingMask, oldSize, newSize));
    }
}

void View::setAlpha(double alpha) { m_layer->setOpacity(alpha); }

void View::setHidden(bool hidden) { m_layer->setHidden(hidden); }

void View::setBackgroundColor(std::optional<gfx::Color> color)
{
    m_backgroundColor = color;
    m_layer->setBackgroundColor(color.value_or(gfx::Color::clear()));
}

void View::setClipsToBounds(bool clips) { m_layer->setMasksToBounds(clips); }

void View::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
    m_layer->setContentsGravity(gravityFor(mode));
}

void View::setNeedsLayout()
{
    BASE_ASSERT_MAIN_THREAD();
    m_needsLayout = true;
    if (auto self = weak_from_this(); !self.expired())
        UpdateCycle::main().scheduleLayout(std::static_pointer_cast<View>(self.lock()));
}

void View::layoutIfNeeded()
{
    if (m_needsLayout) {
        m_needsLayout = false;
        layoutSubviews();
    }
    for (const auto& subview : std::vector(m_subviews))
        subview->layoutIfNeeded();
}

gfx::Size View::sizeThatFits(gfx::Size) const { return bounds().size; }

void View::sizeToFit()
{
    gfx::Size size = sizeThatFits(bounds().size);
    if (transform().isIdentity())
        setFrame({ frame().origin, size });
    else
        setBounds({ bounds().origin, size });
}

void View::drawRect(const gfx::Rect&) { m_drawRectReachedBase = true; }

bool View::drawLayer(Layer&, gfx::Context&)
{
    m_drawRectReachedBase = false;
    drawRect(bounds());
    return !m_drawRectReachedBase;
}

void View::bindLayerDelegate()
{
    if (m_layer->m_delegate.expired() && !weak_from_this().expired())
        m_layer->setDelegate(std::static_pointer_cast<View>(shared_from_this()));
}

void View::setNeedsDisplay()
{
    bindLayerDelegate();
    m_layer->setNeedsDisplay();
}

const Layer* View::referenceLayer(const View* view) const
{
    if (view)
        return view->m_layer.get();
    if (auto w = window())
        return w->m_layer.get();
    const View* top = this;
    for (auto parent = superview(); parent; parent = parent->superview())
        top = parent.get();
    return top->m_layer.get();
}

gfx::Point View::convertPointTo(gfx::Point point, const View* view) const
{
    return m_layer->convertPointTo(point, referenceLayer(view));
}

gfx::Point View::convertPointFrom(gfx::Point point, const View* view) const
{
    return m_layer->convertPointFrom(point, referenceLayer(view));
}

gfx::Rect View::convertRectTo(const gfx::Rect& rect, const View* view) const
{
    return m_layer->convertRectTo(rect, referenceLayer(view));
}

gfx::Rect View::convertRectFrom(const gfx::Rect& rect, const View* view) const
{
    return m_layer->convertRectFrom(rect, referenceLayer(view));
}

std::shared_ptr<View> View::hitTest(gfx::Point point, const Event* event)
{
    if (isHidden() || !m_userInteractionEnabled || alpha() <= 0.01 || !pointInside(point, event))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        std::shared_ptr<View> subview = *it;
        if (auto hit = subview->hitTest(pointFromSuperlayer(subview->m_layer->model(), point), event))
            return hit;
    }
    return self();
}

bool View::pointInside(gfx::Point point, const Event*) const { return bounds().contains(point); }

std::shared_ptr<Responder> View::nextResponder() const
{
    if (auto controller = m_viewController.lock())
        return controller;
    return m_superview.lock();
}

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer)
{
    if (!recognizer)
        return;
    if (auto previous = recognizer->view(); previous && previous.get() != this)
        previous->removeGestureRecognizer(recognizer);
    if (std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer) != m_gestureRecognizers.end())
        return;
    m_gestureRecognizers.push_back(recognizer);
    recognizer->setView(self());
}

void View::removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer)
{
    auto found = std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer);
    if (found == m_gestureRecognizers.end())
        return;
    std::shared_ptr<GestureRecognizer> keep = *found;
    m_gestureRecognizers.erase(found);
    keep->setView(nullptr);
}

bool View::drawViewHierarchyInRect(const gfx::Rect& rect, bool afterScreenUpdates)
{
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return false;
    bindLayerDelegate();
    if (afterScreenUpdates)
        UpdateCycle::main().runPasses();
    gfx::Rect b = bounds();
    context->save();
    context->translateBy(rect.minX(), rect.minY());
    if (b.width() > 0 && b.height() > 0)
        context->scaleBy(rect.width() / b.width(), rect.height() / b.height());
    context->translateBy(-b.minX(), -b.minY());
    RenderOptions options;
    options.displayPending = true;
    Renderer::renderContents(*context, *m_layer, options);
    context->restore();
    return true;
}

} // namespace ui
