// ui::ScrollView: a view whose content (its subviews) moves under a fixed frame. The content offset is the
// origin of its bounds; the rest range of the offset comes from the content size and the content inset (see
// ScrollLimits.h). The finger drags the content, with a rubber band beyond the edges when the view bounces;
// on release the content glides and springs back to the rest range on the display tick. Zooming scales the
// delegate's zoom view. Scroll views clip to their bounds. Main thread; made with std::make_shared.
//
// Releasing the finger happens in this order: isDragging() becomes false and isDecelerating() true (when
// the content is outside its rest range or the release velocity is not zero), then the delegate hears
// scrollViewDidEndDragging, and only on the next frame does the first offset change come (prior
// notification first). Every frame of the motion sends the offset notifications; the rest range is read
// afresh each frame, so an inset set meanwhile holds the content open. isDecelerating() is false at rest.
//
// Observers of the content offset and size hear every setter call, equal values included; see
// PropertyObservers.h. For an offset change the order is: prior notification, the change, the delegate's
// scrollViewDidScroll, then the notification after the change. Setting the offset by program stops a
// release motion where it is. Setting the inset or the size while the content is at rest brings an offset
// outside the new rest range back into it (through the offset setter, so inside an animation block only
// what is drawn moves).
//
//   auto scroll = std::make_shared<ui::ScrollView>(gfx::Rect { 0, 0, 320, 480 });
//   scroll->setContentSize({ 320, 1000 });
//   scroll->dragTo({ 0, -80 });              // what the finger does, also in tests
//   scroll->releaseWithVelocity({ 0, 0 });   // springs back to 0 on the following frames
#pragma once

#include "gfx/geometry/EdgeInsets.h"
#include "ui/scroll/ScrollDeceleration.h"
#include "ui/scroll/ScrollLimits.h"
#include "ui/scroll/ScrollViewDelegate.h"
#include "ui/view/PropertyObservers.h"
#include "ui/view/View.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace ui {

class PanGestureRecognizer;
class PinchGestureRecognizer;
class ScrollPanGestureRecognizer;

class ScrollView : public View {
public:
    explicit ScrollView(const gfx::Rect& frame = {});
    ~ScrollView() override;

    gfx::Point contentOffset() const { return bounds().origin; }
    virtual void setContentOffset(gfx::Point offset);
    // Animated: the model changes at once and observers hear the final value once; only what is drawn
    // moves, over 0.3 s.
    void setContentOffset(gfx::Point offset, bool animated);
    // Moves the content offset by `delta` and carries a drag or a release motion along with it, so that
    // content put above what shows (older rows of a list) leaves what shows in place under the finger.
    void shiftContentOffset(gfx::Point delta);
    gfx::Size contentSize() const { return m_contentSize; }
    virtual void setContentSize(gfx::Size size);
    gfx::EdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(gfx::EdgeInsets inset);
    // Where the content offset comes to rest.
    ScrollLimits restLimits() const;

    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_deceleration.has_value(); }
    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled);
    // Whether the content can be pulled beyond its edges (with a rubber band) and springs back.
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    // Whether an axis bounces even when the content is no longer than the bounds on it.
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool bounces) { m_alwaysBounceVertical = bounces; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool bounces) { m_alwaysBounceHorizontal = bounces; }
    // Stored only: no indicators are drawn.
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalIndicator = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalIndicator; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalIndicator = shows; }

    std::shared_ptr<ScrollViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // Zooming scales the delegate's zoom view by the zoom scale (a transform), keeps its frame at the content's
    // origin and makes the content size its scaled size. Without a zoom view the scale stays 1. Two fingers
    // pinch the zoom (keeping the content between them in place) when the limits leave room to zoom.
    double zoomScale() const { return m_zoomScale; }
    void setZoomScale(double scale, bool animated = false);
    double minimumZoomScale() const { return m_minimumZoomScale; }
    void setMinimumZoomScale(double scale);
    double maximumZoomScale() const { return m_maximumZoomScale; }
    void setMaximumZoomScale(double scale);
    // Zooms so that `rect` (in the zoom view's own coordinates) fills the bounds as far as the limits allow,
    // and scrolls its centre to the middle of the bounds (within the rest range).
    void zoomToRect(const gfx::Rect& rect, bool animated);

    // Offset observation (see PropertyObservers.h); `owner` is an identity for removeObservers.
    using OffsetObserver = PropertyObservers<gfx::Point>::Block;
    using SizeObserver = PropertyObservers<gfx::Size>::Block;
    using ObserverToken = uint64_t;
    ObserverToken addContentOffsetObserver(bool prior, OffsetObserver observer, const void* owner = nullptr);
    void removeContentOffsetObserver(ObserverToken token) { m_offsetObservers.remove(token); }
    ObserverToken addContentSizeObserver(bool prior, SizeObserver observer, const void* owner = nullptr);
    void removeContentSizeObserver(ObserverToken token) { m_sizeObservers.remove(token); }
    // Removes the offset and size observers registered with `owner`.
    void removeObservers(const void* owner);

    // The recogniser that drags the content; it begins only for movement along an axis the view can scroll
    // or bounce on.
    const std::shared_ptr<ScrollPanGestureRecognizer>& panGestureRecognizer() const { return m_pan; }
    const std::shared_ptr<PinchGestureRecognizer>& pinchGestureRecognizer() const { return m_pinch; }

    // What the finger does (the pan recogniser calls these; tests call them directly). dragTo begins a drag
    // when none is running (stopping a release motion) and puts the content at `offset` exactly. Nothing
    // happens while scrolling is disabled.
    void dragTo(gfx::Point offset);
    // Ends the drag; `velocity` is the rate of change of the content offset in points per second. Axes the
    // view cannot scroll or bounce on ignore their part.
    void releaseWithVelocity(gfx::Point velocity);

    // Whether the finger can move the content along each axis: the content with its insets is longer than
    // the bounds, or the axis always bounces.
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    // The wheel moves the content within its rest range (no rubber band); false when it cannot move
    // that way, or while scrolling is disabled or a finger drags.
    bool scrollWheel(gfx::Point location, gfx::Point delta) override;

protected:
    // Attaches the pan and pinch recognisers the first time the view joins a window; subclasses that override this
    // call it.
    void didMoveToWindow() override;

private:
    void beginDragging();
    void followPan(PanGestureRecognizer& pan);
    void followPinch(PinchGestureRecognizer& pinch);
    // Changes the offset with its notifications, without stopping a release motion.
    void applyContentOffset(gfx::Point offset);
    void bringOffsetIntoRestRange();
    void startDeceleration(gfx::Point velocity);
    void stepDeceleration(base::Clock::TimePoint instant);
    void stopDeceleration();
    void applyZoom(const std::shared_ptr<View>& zoomView);

    gfx::Size m_contentSize;
    gfx::EdgeInsets m_contentInset;
    bool m_dragging { false };
    gfx::Point m_dragStartOffset;
    std::optional<ScrollDeceleration> m_deceleration;
    base::Clock::TimePoint m_lastFrame;
    uint64_t m_frameObserver { 0 };
    bool m_scrollEnabled { true };
    bool m_bounces { true };
    bool m_alwaysBounceVertical { false };
    bool m_alwaysBounceHorizontal { false };
    bool m_showsHorizontalIndicator { true };
    bool m_showsVerticalIndicator { true };
    double m_zoomScale { 1 };
    double m_minimumZoomScale { 1 };
    double m_maximumZoomScale { 1 };
    std::weak_ptr<ScrollViewDelegate> m_delegate;
    PropertyObservers<gfx::Point> m_offsetObservers;
    PropertyObservers<gfx::Size> m_sizeObservers;
    std::shared_ptr<ScrollPanGestureRecognizer> m_pan;
    std::shared_ptr<PinchGestureRecognizer> m_pinch;
    double m_pinchStartScale { 1 };
    bool m_recognizersAttached { false };
};

} // namespace ui
