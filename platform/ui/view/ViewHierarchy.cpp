// ui::View: the tree of views, the move hooks, and tint inheritance.
#include "ui/view/View.h"

#include "base/loop/MainThread.h"
#include "ui/view/UpdateCycle.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace ui {

namespace {

    gfx::Color dimmed(const gfx::Color& color)
    {
        double grey = 0.299 * color.r + 0.587 * color.g + 0.114 * color.b;
        return gfx::Color::fromWhite(grey, color.a);
    }

} // namespace

std::shared_ptr<Window> View::window() const
{
    std::shared_ptr<const View> top = std::static_pointer_cast<const View>(weak_from_this().lock());
    const View* topView = this;
    for (auto parent = superview(); parent; parent = parent->superview()) {
        top = parent;
        topView = parent.get();
    }
    if (!top || topView->m_layer->m_role != Layer::Role::WindowBacking)
        return nullptr;
    return std::const_pointer_cast<Window>(std::static_pointer_cast<const Window>(top));
}

bool View::isDescendantOfView(const View* view) const
{
    if (!view)
        return false;
    if (view == this)
        return true;
    for (auto parent = superview(); parent; parent = parent->superview()) {
        if (parent.get() == view)
            return true;
    }
    return false;
}

std::shared_ptr<View> View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return self();
    for (const auto& subview : m_subviews) {
        if (auto found = subview->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

void View::addSubview(const std::shared_ptr<View>& view) { insertSubview(view, m_subviews.size()); }

void View::insertSubviewAtIndex(const std::shared_ptr<View>& view, size_t index) { insertSubview(view, index); }

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling)
{
    auto found = std::find_if(
        m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == sibling && v != view; });
    size_t index = found == m_subviews.end() ? 0 : static_cast<size_t>(found - m_subviews.begin());
    if (view && view->superview().get() == this && found != m_subviews.end()) {
        auto current = std::find(m_subviews.begin(), m_subviews.end(), view);
        if (current < found)
            --index;
    }
    insertSubview(view, index);
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling)
{
    auto found = std::find_if(
        m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == sibling && v != view; });
    size_t index = found == m_subviews.end() ? m_subviews.size() : static_cast<size_t>(found - m_subviews.begin()) + 1;
    if (view && view->superview().get() == this && found != m_subviews.end()) {
        auto current = std::find(m_subviews.begin(), m_subviews.end(), view);
        if (current < found)
            --index;
    }
    insertSubview(view, index);
}

void View::placeSublayer(const std::shared_ptr<View>& view, size_t index)
{
    // Subview layers keep the subviews' order; stand-alone sublayers stay where they are among them.
    if (index + 1 < m_subviews.size())
        m_layer->insertSublayerBelow(view->m_layer, m_subviews[index + 1]->m_layer.get());
    else if (index > 0)
        m_layer->insertSublayerAbove(view->m_layer, m_subviews[index - 1]->m_layer.get());
    else
        m_layer->addSublayer(view->m_layer);
}

void View::reorderSubview(const View* view, size_t index)
{
    auto found = std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == view; });
    if (found == m_subviews.end())
        return;
    std::shared_ptr<View> moving = *found;
    m_subviews.erase(found);
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), moving);
    placeSublayer(moving, index);
}

void View::insertSubview(const std::shared_ptr<View>& view, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    if (view->superview().get() == this) {
        reorderSubview(view.get(), index);
        return;
    }
    std::shared_ptr<View> keep = view;
    std::shared_ptr<View> me = self();
    std::shared_ptr<View> oldSuperview = view->superview();
    std::shared_ptr<Window> oldWindow = view->window();
    std::shared_ptr<Window> newWindow = window();
    gfx::Color oldTint = view->tintColor();
    TintAdjustmentMode oldMode = view->tintAdjustmentMode();

    view->willMoveToSuperview(me);
    if (oldWindow != newWindow)
        view->windowWillChange(newWindow);
    if (oldSuperview) {
        oldSuperview->willRemoveSubview(view);
        std::erase(oldSuperview->m_subviews, view);
        view->m_layer->removeFromSuperlayer();
        oldSuperview->setNeedsLayout();
    }
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->m_superview = me;
    placeSublayer(view, index);
    bindLayerDelegate();
    view->bindLayerDelegate();
    if (oldWindow != newWindow)
        view->windowDidChange();
    view->didMoveToSuperview();
    didAddSubview(view);
    view->tintDidChange(view->tintColor() != oldTint, view->tintAdjustmentMode() != oldMode);
    setNeedsLayout();
    view->setNeedsLayout();
}

void View::removeFromSuperview()
{
    BASE_ASSERT_MAIN_THREAD();
    std::shared_ptr<View> parent = superview();
    if (!parent)
        return;
    std::shared_ptr<View> me = self();
    std::shared_ptr<Window> oldWindow = window();
    gfx::Color oldTint = tintColor();
    TintAdjustmentMode oldMode = tintAdjustmentMode();

    willMoveToSuperview(nullptr);
    if (oldWindow)
        windowWillChange(nullptr);
    parent->willRemoveSubview(me);
    std::erase(parent->m_subviews, me);
    m_layer->removeFromSuperlayer();
    m_superview.reset();
    parent->setNeedsLayout();
    if (oldWindow)
        windowDidChange();
    didMoveToSuperview();
    tintDidChange(tintColor() != oldTint, tintAdjustmentMode() != oldMode);
}

void View::bringSubviewToFront(const View* view) { reorderSubview(view, m_subviews.size()); }

void View::sendSubviewToBack(const View* view) { reorderSubview(view, 0); }

void View::exchangeSubviewAtIndex(size_t first, size_t second)
{
    if (first >= m_subviews.size() || second >= m_subviews.size() || first == second)
        return;
    auto& sublayers = m_layer->m_sublayers;
    auto a = std::find(sublayers.begin(), sublayers.end(), m_subviews[first]->m_layer);
    auto b = std::find(sublayers.begin(), sublayers.end(), m_subviews[second]->m_layer);
    if (a != sublayers.end() && b != sublayers.end())
        std::iter_swap(a, b);
    std::swap(m_subviews[first], m_subviews[second]);
    Layer::markChanged();
}

void View::windowWillChange(const std::shared_ptr<Window>& newWindow)
{
    willMoveToWindow(newWindow);
    for (const auto& subview : std::vector(m_subviews))
        subview->windowWillChange(newWindow);
}

void View::windowDidChange()
{
    bindLayerDelegate();
    if (m_layer->needsDisplay())
        m_layer->setNeedsDisplay();
    didMoveToWindow();
    for (const auto& subview : std::vector(m_subviews))
        subview->windowDidChange();
}

gfx::Color View::tintColor() const
{
    gfx::Color base = defaultTintColor();
    for (const View* view = this; view;) {
        if (view->m_tintColor) {
            base = *view->m_tintColor;
            break;
        }
        auto parent = view->superview();
        view = parent.get();
    }
    return tintAdjustmentMode() == TintAdjustmentMode::Dimmed ? dimmed(base) : base;
}

void View::setTintColor(std::optional<gfx::Color> color)
{
    gfx::Color old = tintColor();
    m_tintColor = color;
    tintDidChange(tintColor() != old, false);
}

TintAdjustmentMode View::tintAdjustmentMode() const
{
    for (const View* view = this; view;) {
        if (view->m_tintAdjustmentMode != TintAdjustmentMode::Automatic)
            return view->m_tintAdjustmentMode;
        auto parent = view->superview();
        view = parent.get();
    }
    return TintAdjustmentMode::Normal;
}

void View::setTintAdjustmentMode(TintAdjustmentMode mode)
{
    TintAdjustmentMode old = tintAdjustmentMode();
    m_tintAdjustmentMode = mode;
    tintDidChange(false, tintAdjustmentMode() != old);
}

void View::tintDidChange(bool colourChanged, bool modeChanged)
{
    if (!colourChanged && !modeChanged)
        return;
    tintColorDidChange();
    for (const auto& subview : std::vector(m_subviews)) {
        subview->tintDidChange(colourChanged && !subview->m_tintColor,
            modeChanged && subview->m_tintAdjustmentMode == TintAdjustmentMode::Automatic);
    }
}

} // namespace ui
