// ui::View: a rectangle on screen that draws, lays out its subviews and takes touches. Views form a tree
// (each keeps its subviews, back to front, and knows its superview weakly) mirrored by their layers. Main
// thread; always made with std::make_shared.
//
// Model values: every setter changes the model at once, also inside an animation block; an animation block
// (animateWithDuration and the begin/commit form) only changes what is drawn, and its completion runs on the
// run loop (see ViewAnimationBlock.h for the rules). Geometry lives in the layer: frame, bounds, centre and
// transform are its bounds, position and transform, with the kit's rule for setting a frame under a
// transform (see LayerGeometry.h).
//
// Passes: setNeedsLayout() marks the view; the end-of-turn layout pass calls layoutSubviews() once (a size
// change or a new subview marks it too). setNeedsDisplay() marks it for the display pass, which calls
// drawRect() for views in a window, with the view's bitmap as the current gfx context. A subclass that
// draws overrides drawRect() and does not call View::drawRect(): reaching the base version tells the pass
// that the view has nothing of its own to draw, and it is not asked again.
//
//   auto panel = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 100 });
//   panel->setBackgroundColor(gfx::Color::black().withAlpha(0.8));
//   window->addSubview(panel);
//   ui::View::animateWithDuration(0.3, [&] { panel->setAlpha(0); }, [panel](bool) { panel->removeFromSuperview(); });
#pragma once

#include "gfx/geometry/AffineTransform.h"
#include "gfx/drawing/Color.h"
#include "gfx/geometry/Rect.h"
#include "ui/layer/Layer.h"
#include "ui/view/Responder.h"
#include "ui/view/ViewTypes.h"

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class GestureRecognizer;
class Window;

class View : public Responder, public LayerDelegate {
public:
    explicit View(const gfx::Rect& frame = {});
    ~View() override;

    // Geometry.
    gfx::Rect frame() const { return m_layer->frame(); }
    void setFrame(const gfx::Rect& frame);
    gfx::Rect bounds() const { return m_layer->bounds(); }
    void setBounds(const gfx::Rect& bounds);
    gfx::Point center() const { return m_layer->position(); }
    void setCenter(gfx::Point center);
    gfx::AffineTransform transform() const { return m_layer->affineTransform(); }
    void setTransform(const gfx::AffineTransform& transform);

    // Appearance.
    double alpha() const { return m_layer->opacity(); }
    void setAlpha(double alpha);
    bool isHidden() const { return m_layer->isHidden(); }
    virtual void setHidden(bool hidden);
    // Stored only.
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    // Empty: no background.
    const std::optional<gfx::Color>& backgroundColor() const { return m_backgroundColor; }
    virtual void setBackgroundColor(std::optional<gfx::Color> color);
    bool clipsToBounds() const { return m_layer->masksToBounds(); }
    void setClipsToBounds(bool clips);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    unsigned autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(unsigned mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool autoresizes) { m_autoresizesSubviews = autoresizes; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // Stored only.
    const std::string& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::string label) { m_accessibilityLabel = std::move(label); }
    const std::shared_ptr<Layer>& layer() const { return m_layer; }

    // Tint: the view's own colour or its superview's (the platform's blue at the top), greyed when the
    // adjustment mode in effect is Dimmed. tintColorDidChange() is sent to the view and to the descendants
    // that inherit what changed, and to a view that moves to where its tint differs.
    gfx::Color tintColor() const;
    void setTintColor(std::optional<gfx::Color> color);
    // The mode in effect (Automatic resolved through the superviews).
    TintAdjustmentMode tintAdjustmentMode() const;
    void setTintAdjustmentMode(TintAdjustmentMode mode);
    virtual void tintColorDidChange() { }
    static constexpr gfx::Color defaultTintColor() { return { 0, 122.0 / 255, 1, 1 }; }

    // Hierarchy. Adding a view first takes it from its old superview; adding a subview again brings it to
    // the front. A view cannot be added to itself or to one of its descendants.
    std::shared_ptr<View> superview() const { return m_superview.lock(); }
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    // The window at the top of this view's tree, or nullptr.
    std::shared_ptr<Window> window() const;
    void addSubview(const std::shared_ptr<View>& view);
    void insertSubviewAtIndex(const std::shared_ptr<View>& view, size_t index);
    // Without the sibling among the subviews, the view goes to the back (below) or the front (above).
    void insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling);
    void insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling);
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    void exchangeSubviewAtIndex(size_t first, size_t second);
    virtual void removeFromSuperview();
    // True for the view itself too.
    bool isDescendantOfView(const View* view) const;
    // This view or the first descendant (depth first, back to front) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);

    // Hooks, in the order they come when a view moves: willMoveToSuperview, willMoveToWindow (when the
    // window changes, to each view of the moving tree), the old superview's willRemoveSubview, then
    // didMoveToWindow, didMoveToSuperview and the new superview's didAddSubview. Removal sends nullptr.
    virtual void willMoveToSuperview(const std::shared_ptr<View>& /*newSuperview*/) { }
    virtual void didMoveToSuperview() { }
    virtual void willMoveToWindow(const std::shared_ptr<Window>& /*newWindow*/) { }
    virtual void didMoveToWindow() { }
    virtual void didAddSubview(const std::shared_ptr<View>& /*subview*/) { }
    virtual void willRemoveSubview(const std::shared_ptr<View>& /*subview*/) { }

    // Layout.
    void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    // Lays out this view and its descendants now where they are marked.
    void layoutIfNeeded();
    virtual void layoutSubviews() { }
    // The size the view would like within `size`; by default its current size.
    virtual gfx::Size sizeThatFits(gfx::Size size) const;
    // Resizes the view to sizeThatFits(its current size), keeping its origin.
    void sizeToFit();

    // Drawing.
    virtual void drawRect(const gfx::Rect& rect);
    void setNeedsDisplay();
    // The whole view is redrawn.
    void setNeedsDisplayInRect(const gfx::Rect&) { setNeedsDisplay(); }

    // Coordinates between bounds spaces, through bounds origins and transforms; nullptr is this view's
    // window (or the top of its tree when it has none). A point that cannot be converted (into a view with a
    // singular transform) comes back infinite, and a rectangle null.
    gfx::Point convertPointTo(gfx::Point point, const View* view) const;
    gfx::Point convertPointFrom(gfx::Point point, const View* view) const;
    gfx::Rect convertRectTo(const gfx::Rect& rect, const View* view) const;
    gfx::Rect convertRectFrom(const gfx::Rect& rect, const View* view) const;

    // Hit testing (point in this view's bounds space): hidden views, views with user interaction off and
    // views with alpha <= 0.01 take nothing; otherwise the front-most subview that takes the point, else
    // this view when pointInside() says so.
    virtual std::shared_ptr<View> hitTest(gfx::Point point, const Event* event);
    virtual bool pointInside(gfx::Point point, const Event* event) const;

    // A turn of a mouse wheel over the view at `location` (its bounds space), by `delta` points towards the
    // content's end: a view that scrolls moves and answers true; by default nothing happens, and the turn
    // goes on to the superview.
    virtual bool scrollWheel(gfx::Point /*location*/, gfx::Point /*delta*/) { return false; }

    // The responder chain: the controller whose root view this is, else the superview.
    std::shared_ptr<Responder> nextResponder() const override;
    std::shared_ptr<Responder> viewController() const { return m_viewController.lock(); }
    void setViewController(std::weak_ptr<Responder> controller) { m_viewController = std::move(controller); }

    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }
    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
    void removeGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);

    // Draws this view's tree as it is drawn on screen (animations applied) into the current gfx context,
    // scaled into `rect`; after screen updates, pending layout and drawing are done first. False when there
    // is no current context.
    [[nodiscard]] bool drawViewHierarchyInRect(const gfx::Rect& rect, bool afterScreenUpdates);

    // View animation. Changes made by `animations` animate over `duration` (ease-in-ease-out unless the
    // options pick another curve); `completion` runs on the run loop with finished = true at the end, false
    // when interrupted. Blocks nest; the innermost one governs a change.
    static void animateWithDuration(
        double duration, const std::function<void()>& animations, std::function<void(bool)> completion = {});
    static void animateWithDuration(double duration, double delay, unsigned options,
        const std::function<void()>& animations, std::function<void(bool)> completion = {});
    // A spring of damping ratio `damping` (below 1 overshoots) starting at `velocity` whole distances per
    // second, settling exactly at `duration`.
    static void animateWithDurationUsingSpring(double duration, double delay, double damping, double velocity,
        unsigned options, const std::function<void()>& animations, std::function<void(bool)> completion = {});
    // The begin/commit form: settings apply to the innermost begun block (0.2 s, ease-in-ease-out, no delay by
    // default); the did-stop block gets the block's name, finished and context.
    using AnimationDidStop = std::function<void(const std::string& name, bool finished, const std::any& context)>;
    static void beginAnimations(std::string name, std::any context = {});
    static void setAnimationDuration(double duration);
    static void setAnimationDelay(double delay);
    static void setAnimationCurve(AnimationCurve curve);
    static void setAnimationBeginsFromCurrentState(bool fromCurrentState);
    static void setAnimationDidStop(AnimationDidStop didStop);
    static void commitAnimations();

protected:
    // For views backed by a layer of another kind (a shape layer, for instance).
    View(const gfx::Rect& frame, std::shared_ptr<Layer> layer);
    bool drawLayer(Layer& layer, gfx::Context& context) override;

private:
    friend class Window;
    void insertSubview(const std::shared_ptr<View>& view, size_t index);
    void reorderSubview(const View* view, size_t index);
    void placeSublayer(const std::shared_ptr<View>& view, size_t index);
    void boundsSizeChanged(gfx::Size oldSize);
    void bindLayerDelegate();
    // The layer of `view`, or for nullptr that of this view's window (or of the top of its tree).
    const Layer* referenceLayer(const View* view) const;
    void windowWillChange(const std::shared_ptr<Window>& newWindow);
    void windowDidChange();
    void tintDidChange(bool colourChanged, bool modeChanged);
    std::shared_ptr<View> self() { return sharedFrom(this); }

    std::shared_ptr<Layer> m_layer;
    std::weak_ptr<View> m_superview;
    std::vector<std::shared_ptr<View>> m_subviews;
    std::weak_ptr<Responder> m_viewController;
    std::vector<std::shared_ptr<GestureRecognizer>> m_gestureRecognizers;
    std::optional<gfx::Color> m_backgroundColor;
    std::optional<gfx::Color> m_tintColor;
    TintAdjustmentMode m_tintAdjustmentMode { TintAdjustmentMode::Automatic };
    ContentMode m_contentMode { ContentMode::ScaleToFill };
    unsigned m_autoresizingMask { AutoresizingMask::None };
    bool m_autoresizesSubviews { true };
    bool m_userInteractionEnabled { true };
    bool m_opaque { true };
    bool m_needsLayout { false };
    bool m_drawRectReachedBase { false };
    int m_tag { 0 };
    std::string m_accessibilityLabel;
};

} // namespace ui
