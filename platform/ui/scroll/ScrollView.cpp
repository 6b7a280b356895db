#include "ui/scroll/ScrollView.h"

#include "base/loop/MainThread.h"
#include "ui/input/PinchGestureRecognizer.h"
#include "ui/render/FrameClock.h"
#include "ui/scroll/ScrollPanGestureRecognizer.h"

#include <algorithm>

namespace ui {

namespace {

    constexpr double animatedScrollDuration = 0.3;

} // namespace

ScrollView::ScrollView(const gfx::Rect& frame)
    : View(frame)
    , m_pan(std::make_shared<ScrollPanGestureRecognizer>([](GestureRecognizer& recognizer) {
        if (auto self = std::dynamic_pointer_cast<ScrollView>(recognizer.view()))
            self->followPan(static_cast<PanGestureRecognizer&>(recognizer));
    }))
    , m_pinch(std::make_shared<PinchGestureRecognizer>([](GestureRecognizer& recognizer) {
        if (auto self = std::dynamic_pointer_cast<ScrollView>(recognizer.view()))
            self->followPinch(static_cast<PinchGestureRecognizer&>(recognizer));
    }))
{
    setClipsToBounds(true);
    m_pinch->setEnabled(false);
}

void ScrollView::didMoveToWindow()
{
    if (m_recognizersAttached || !window())
        return;
    m_recognizersAttached = true;
    addGestureRecognizer(m_pan);
    addGestureRecognizer(m_pinch);
}

void ScrollView::followPan(PanGestureRecognizer& pan)
{
    using State = GestureRecognizer::State;
    switch (pan.state()) {
    case State::Began:
        if (m_scrollEnabled)
            beginDragging();
        break;
    case State::Changed: {
        if (!m_dragging)
            return;
        gfx::Point translation = pan.translationInView(this);
        gfx::Point proposed = m_dragStartOffset - translation;
        if (!canScrollHorizontally())
            proposed.x = m_dragStartOffset.x;
        if (!canScrollVertically())
            proposed.y = m_dragStartOffset.y;
        ScrollLimits limits = restLimits();
        applyContentOffset(m_bounces ? limits.rubberBanded(proposed, bounds().size) : limits.clamped(proposed));
        break;
    }
    case State::Ended:
        releaseWithVelocity(gfx::Point {} - pan.velocityInView(this));
        break;
    case State::Cancelled:
        releaseWithVelocity({});
        break;
    default:
        break;
    }
}

ScrollView::~ScrollView()
{
    if (m_frameObserver)
        FrameClock::main().removeFrameObserver(m_frameObserver);
}

void ScrollView::setContentOffset(gfx::Point offset)
{
    BASE_ASSERT_MAIN_THREAD();
    stopDeceleration();
    applyContentOffset(offset);
}

void ScrollView::setContentOffset(gfx::Point offset, bool animated)
{
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    animateWithDuration(animatedScrollDuration, [&] { setContentOffset(offset); });
}

void ScrollView::shiftContentOffset(gfx::Point delta)
{
    BASE_ASSERT_MAIN_THREAD();
    m_dragStartOffset = m_dragStartOffset + delta;
    applyContentOffset(contentOffset() + delta);
}

void ScrollView::applyContentOffset(gfx::Point offset)
{
    gfx::Point old = contentOffset();
    m_offsetObservers.willChange(old);
    setBounds({ offset, bounds().size });
    // Subclasses lay out what the new offset uncovers (a table's rows).
    setNeedsLayout();
    if (auto delegate = m_delegate.lock())
        delegate->scrollViewDidScroll(*this);
    m_offsetObservers.didChange(old, offset);
}

void ScrollView::setContentSize(gfx::Size size)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Size old = m_contentSize;
    m_sizeObservers.willChange(old);
    m_contentSize = size;
    m_sizeObservers.didChange(old, size);
    bringOffsetIntoRestRange();
}

void ScrollView::setContentInset(gfx::EdgeInsets inset)
{
    BASE_ASSERT_MAIN_THREAD();
    m_contentInset = inset;
    bringOffsetIntoRestRange();
}

void ScrollView::bringOffsetIntoRestRange()
{
    if (m_dragging || isDecelerating())
        return;
    gfx::Point offset = contentOffset();
    gfx::Point rest = restLimits().clamped(offset);
    if (rest != offset)
        setContentOffset(rest);
}

ScrollLimits ScrollView::restLimits() const { return ScrollLimits::make(m_contentSize, bounds().size, m_contentInset); }

bool ScrollView::canScrollHorizontally() const
{
    const ScrollLimits limits = restLimits();
    return limits.max.x > limits.min.x || (m_bounces && m_alwaysBounceHorizontal);
}

bool ScrollView::canScrollVertically() const
{
    const ScrollLimits limits = restLimits();
    return limits.max.y > limits.min.y || (m_bounces && m_alwaysBounceVertical);
}

bool ScrollView::scrollWheel(gfx::Point, gfx::Point delta)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_scrollEnabled || m_dragging)
        return false;
    gfx::Point from = contentOffset();
    gfx::Point to = restLimits().clamped({ from.x + delta.x, from.y + delta.y });
    if (to == from)
        return false;
    setContentOffset(to);
    return true;
}

void ScrollView::setScrollEnabled(bool enabled)
{
    m_scrollEnabled = enabled;
    m_pan->setEnabled(enabled);
}

ScrollView::ObserverToken ScrollView::addContentOffsetObserver(bool prior, OffsetObserver observer, const void* owner)
{
    return m_offsetObservers.add(std::move(observer), prior, owner);
}

ScrollView::ObserverToken ScrollView::addContentSizeObserver(bool prior, SizeObserver observer, const void* owner)
{
    return m_sizeObservers.add(std::move(observer), prior, owner);
}

void ScrollView::removeObservers(const void* owner)
{
    m_offsetObservers.removeAll(owner);
    m_sizeObservers.removeAll(owner);
}

void ScrollView::beginDragging()
{
    stopDeceleration();
    m_dragging = true;
    m_dragStartOffset = contentOffset();
    if (auto delegate = m_delegate.lock())
        delegate->scrollViewWillBeginDragging(*this);
}

void ScrollView::dragTo(gfx::Point offset)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_scrollEnabled)
        return;
    if (!m_dragging)
        beginDragging();
    applyContentOffset(offset);
}

void ScrollView::releaseWithVelocity(gfx::Point velocity)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_dragging)
        return;
    if (!canScrollHorizontally())
        velocity.x = 0;
    if (!canScrollVertically())
        velocity.y = 0;
    bool outside = !restLimits().contains(contentOffset());
    bool willDecelerate = outside || velocity != gfx::Point {};
    m_dragging = false;
    if (willDecelerate)
        startDeceleration(velocity);
    if (auto delegate = m_delegate.lock())
        delegate->scrollViewDidEndDragging(*this, willDecelerate);
}

void ScrollView::startDeceleration(gfx::Point velocity)
{
    m_deceleration.emplace(velocity);
    m_lastFrame = FrameClock::main().now();
    if (m_frameObserver)
        return;
    m_frameObserver
        = FrameClock::main().addFrameObserver([weak = weakFrom(this)](base::Clock::TimePoint instant, uint64_t) {
              if (auto self = weak.lock())
                  self->stepDeceleration(instant);
          });
}

void ScrollView::stepDeceleration(base::Clock::TimePoint instant)
{
    if (!m_deceleration)
        return;
    double seconds = base::Duration(instant - m_lastFrame).count();
    m_lastFrame = instant;
    gfx::Point offset = contentOffset();
    gfx::Point next = m_deceleration->step(offset, restLimits(), seconds);
    bool finished = m_deceleration->isFinished();
    if (next != offset)
        applyContentOffset(next);
    // Observers may have stopped the motion (by setting the offset) or started a drag meanwhile.
    if (!m_deceleration || !finished)
        return;
    stopDeceleration();
    if (auto delegate = m_delegate.lock())
        delegate->scrollViewDidEndDecelerating(*this);
}

void ScrollView::stopDeceleration()
{
    m_deceleration.reset();
    if (m_frameObserver) {
        FrameClock::main().removeFrameObserver(m_frameObserver);
        m_frameObserver = 0;
    }
}

void ScrollView::setMinimumZoomScale(double scale)
{
    m_minimumZoomScale = scale;
    m_pinch->setEnabled(m_maximumZoomScale > m_minimumZoomScale);
}

void ScrollView::setMaximumZoomScale(double scale)
{
    m_maximumZoomScale = scale;
    m_pinch->setEnabled(m_maximumZoomScale > m_minimumZoomScale);
}

void ScrollView::followPinch(PinchGestureRecognizer& pinch)
{
    using State = GestureRecognizer::State;
    if (pinch.state() == State::Began)
        m_pinchStartScale = m_zoomScale;
    if (pinch.state() != State::Began && pinch.state() != State::Changed)
        return;
    // The content point between the fingers stays between them.
    gfx::Point centre = pinch.locationInView(this);
    gfx::Point unzoomed = centre * (1 / m_zoomScale);
    gfx::Point offset = contentOffset();
    setZoomScale(m_pinchStartScale * pinch.scale());
    gfx::Point moved = unzoomed * m_zoomScale - centre;
    setContentOffset(restLimits().clamped(offset + moved));
}

void ScrollView::setZoomScale(double scale, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    auto delegate = m_delegate.lock();
    auto zoomView = delegate ? delegate->viewForZoomingInScrollView(*this) : nullptr;
    if (!zoomView)
        return;
    m_zoomScale = std::clamp(scale, m_minimumZoomScale, std::max(m_minimumZoomScale, m_maximumZoomScale));
    if (animated)
        animateWithDuration(animatedScrollDuration, [&] { applyZoom(zoomView); });
    else
        applyZoom(zoomView);
}

void ScrollView::applyZoom(const std::shared_ptr<View>& zoomView)
{
    gfx::Size size = zoomView->bounds().size * m_zoomScale;
    zoomView->setTransform(gfx::AffineTransform::makeScale(m_zoomScale, m_zoomScale));
    zoomView->setCenter({ size.width / 2, size.height / 2 });
    setContentSize(size);
    if (auto delegate = m_delegate.lock())
        delegate->scrollViewDidZoom(*this);
}

void ScrollView::zoomToRect(const gfx::Rect& rect, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (rect.isEmpty())
        return;
    gfx::Size visible = bounds().size;
    double scale = std::min(visible.width / rect.width(), visible.height / rect.height());
    auto zoom = [&] {
        setZoomScale(scale);
        gfx::Point centre = rect.center() * m_zoomScale;
        setContentOffset(restLimits().clamped({ centre.x - visible.width / 2, centre.y - visible.height / 2 }));
    };
    if (animated)
        animateWithDuration(animatedScrollDuration, zoom);
    else
        zoom();
}

} // namespace ui
