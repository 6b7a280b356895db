// ui::Layer: a rectangle of drawn content in a tree of layers: geometry (bounds, position, anchor point, 3-D
// transform), appearance (background, corner radius, border, masking, shadow, opacity, contents image) and
// sublayers drawn in order over it. Every view is backed by one; stand-alone layers can be added to any
// layer. Main thread.
//
// Setters change the model value at once. How a change animates depends on whose layer it is (see
// Transaction.h and ViewAnimationBlock.h): a view's own layer animates only inside a view-animation block; a
// stand-alone layer in a tree animates implicitly unless actions are disabled. Animations added with
// addAnimation change only what is drawn: presentation() gives the values with the running animations
// applied at the frame clock's instant. An animation stops on the run loop: at its end (finished) or, when
// removed or replaced under its key, on the next turn (not finished); its delegate and the transaction and
// view-animation block it was made in are told.
//
// Content drawing: a layer marked by setNeedsDisplay() and in a window is drawn by the display pass into a
// bitmap at its contents scale through drawInContext() (by default the delegate's drawLayer), which becomes
// its contents. A layer that answers that it has nothing of its own to draw is not asked again, and the next
// layer of the same class with a delegate of the same class is asked first without a bitmap.
//
//   auto badge = std::make_shared<ui::Layer>();
//   badge->setFrame({ 10, 10, 20, 20 });
//   badge->setCornerRadius(10);
//   badge->setBackgroundColor(gfx::Color::red());
//   view->layer()->addSublayer(badge);
#pragma once

#include "base/loop/RunLoop.h"
#include "base/time/Clock.h"
#include "gfx/drawing/Context.h"
#include "ui/animation/Animation.h"
#include "ui/layer/LayerProperties.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class AnimationStopObserver;
class Layer;
struct ViewAnimationBlock;

class LayerDelegate {
public:
    virtual ~LayerDelegate() = default;
    // Draws the layer's own content in its bounds space; false when there is nothing of its own to draw.
    virtual bool drawLayer(Layer&, gfx::Context&) { return false; }
};

class Layer : public std::enable_shared_from_this<Layer> {
public:
    Layer();
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    const gfx::Rect& bounds() const { return m_model.bounds; }
    void setBounds(const gfx::Rect& bounds);
    gfx::Point position() const { return m_model.position; }
    void setPosition(gfx::Point position);
    // Changing the anchor point keeps the position, so the frame moves.
    gfx::Point anchorPoint() const { return m_model.anchorPoint; }
    void setAnchorPoint(gfx::Point anchor);
    gfx::Rect frame() const;
    void setFrame(const gfx::Rect& frame);
    const gfx::Transform3D& transform() const { return m_model.transform; }
    void setTransform(const gfx::Transform3D& transform);
    gfx::AffineTransform affineTransform() const { return m_model.transform.affine(); }
    void setAffineTransform(const gfx::AffineTransform& transform);

    bool isHidden() const { return m_model.hidden; }
    void setHidden(bool hidden);
    double opacity() const { return m_model.opacity; }
    void setOpacity(double opacity);
    const gfx::Color& backgroundColor() const { return m_model.backgroundColor; }
    void setBackgroundColor(const gfx::Color& color);
    double cornerRadius() const { return m_model.cornerRadius; }
    void setCornerRadius(double radius);
    double borderWidth() const { return m_model.borderWidth; }
    void setBorderWidth(double width);
    const gfx::Color& borderColor() const { return m_model.borderColor; }
    void setBorderColor(const gfx::Color& color);
    // Clips the contents and sublayers to the (rounded) bounds, and casts no shadow.
    bool masksToBounds() const { return m_model.masksToBounds; }
    void setMasksToBounds(bool masks);

    const gfx::Color& shadowColor() const { return m_model.shadowColor; }
    void setShadowColor(const gfx::Color& color);
    float shadowOpacity() const { return m_model.shadowOpacity; }
    void setShadowOpacity(float opacity);
    double shadowRadius() const { return m_model.shadowRadius; }
    void setShadowRadius(double radius);
    gfx::Size shadowOffset() const { return m_model.shadowOffset; }
    void setShadowOffset(gfx::Size offset);
    const std::optional<gfx::Path>& shadowPath() const { return m_model.shadowPath; }
    void setShadowPath(std::optional<gfx::Path> path);

    const std::shared_ptr<gfx::Image>& contents() const { return m_model.contents; }
    void setContents(std::shared_ptr<gfx::Image> image);
    ContentsGravity contentsGravity() const { return m_model.contentsGravity; }
    void setContentsGravity(ContentsGravity gravity);
    double contentsScale() const { return m_model.contentsScale; }
    void setContentsScale(double scale);
    // Stored only: layers are always drawn afresh.
    bool shouldRasterize() const { return m_model.shouldRasterize; }
    void setShouldRasterize(bool rasterize);
    double rasterizationScale() const { return m_model.rasterizationScale; }
    void setRasterizationScale(double scale);

    std::shared_ptr<Layer> superlayer() const { return m_superlayer.lock(); }
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return m_sublayers; }
    // Each of these first removes the layer from its current superlayer.
    void addSublayer(const std::shared_ptr<Layer>& layer);
    void insertSublayer(const std::shared_ptr<Layer>& layer, size_t index);
    // Without the sibling among the sublayers, the layer goes to the back (below) or the front (above).
    void insertSublayerBelow(const std::shared_ptr<Layer>& layer, const Layer* sibling);
    void insertSublayerAbove(const std::shared_ptr<Layer>& layer, const Layer* sibling);
    void removeFromSuperlayer();
    // Whether the root of this layer's tree is a window's layer.
    bool isInWindow() const;

    // Conversions between the bounds spaces of two layers (model values). A null layer is the space the
    // root of this tree sits in (the screen, for a window's layer).
    gfx::Point convertPointTo(gfx::Point p, const Layer* layer) const;
    gfx::Point convertPointFrom(gfx::Point p, const Layer* layer) const;
    // The bounding box of the converted corners; null when a point cannot be converted.
    gfx::Rect convertRectTo(const gfx::Rect& r, const Layer* layer) const;
    gfx::Rect convertRectFrom(const gfx::Rect& r, const Layer* layer) const;

    void setNeedsDisplay();
    bool needsDisplay() const { return m_needsDisplay; }
    // Lets go of the bitmaps that views' layers outside every window (a closed panel kept by its presenter,
    // a screen covered by another) drew as their contents, marking them to draw again when they come back
    // into a window. For a screen at rest: never every frame.
    static void releaseContentsDrawnOutsideWindows();
    void displayIfNeeded();
    // Draws the contents now (see above).
    virtual void display();
    // Draws the layer's own content into `context`, whose user space is the bounds space; false when there
    // is nothing of its own to draw. The default asks the delegate.
    virtual bool drawInContext(gfx::Context& context);
    // Draws what this kind of layer draws from its values besides background and contents (a shape layer
    // strokes and fills its path); the renderer calls it with the values being drawn. Nothing by default.
    virtual void renderContent(gfx::Context&, const LayerProperties&) const { }
    // Where renderContent may draw, in bounds space (a bounding box); null when it draws nothing.
    virtual gfx::Rect contentExtent(const LayerProperties&) const { return gfx::Rect::null(); }
    std::shared_ptr<LayerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LayerDelegate> delegate) { m_delegate = std::move(delegate); }

    // Replaces (and so interrupts) an animation under the same key; an empty key gives a key of its own.
    void addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key);
    // The running copy, or nullptr.
    std::shared_ptr<const Animation> animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimation(const std::string& key);
    void removeAllAnimations();

    const LayerProperties& model() const { return m_model; }
    LayerProperties presentation() const;
    LayerProperties presentationAt(base::Clock::TimePoint instant) const;

    // Draws this layer's tree (model values, no animations) into `context` in this layer's bounds space.
    void renderInContext(gfx::Context& context);

    // Grows with every change that can alter what is drawn; hosts compare it to skip unchanged frames.
    static uint64_t changeCount();
    // Records a change of what is drawn that is not a layer value (window order, the status bar).
    static void markChanged();
    // Whether a layer shown in a window (neither it nor a layer above it hidden) has an animation that has not
    // ended: animations elsewhere change nothing a host shows.
    [[nodiscard]] static bool anyAnimationRunningInWindow();
    // The change count at this layer's last change of its own values or animations (not of its sublayers,
    // which have their own): unique to the layer and its state, so that a damage tracker can tell whether it
    // changed since it last looked.
    uint64_t version() const { return m_version; }
    // The change count at the last change of any layer in this layer's tree (itself included) or of the
    // tree's shape (a sublayer added, moved or removed): a tree whose count stayed draws as before, unless a
    // layer in it runs an animation.
    uint64_t treeVersion() const { return m_treeVersion; }
    // The layers that have animations not yet ended.
    static std::vector<const Layer*> layersRunningAnimations();
    // Whether it holds animations (running, or ended and kept), so that what it draws is not its model.
    bool hasAnimations() const { return !m_animations.empty(); }

protected:
    // Writes the value at an animatable key path the way the setters do, actions included.
    void changeAnimatable(const std::string& keyPath, const AnimatableValue& value);
    // Writes values that never animate.
    template <typename Write> void changeStored(Write write)
    {
        LayerProperties before = m_model;
        write(m_model);
        // Writing what it already holds (a layout pass setting a value again) draws nothing new.
        if (!(m_model == before))
            touch();
    }

private:
    friend class View;
    friend class Window;
    friend struct ViewAnimationBlock;
    enum class Role { StandAlone, ViewBacking, WindowBacking };

    struct RunningAnimation {
        uint64_t id { 0 };
        std::string key;
        std::shared_ptr<Animation> animation;
        base::Clock::TimePoint addedAt;
        std::vector<std::shared_ptr<AnimationStopObserver>> observers;
        bool ended { false };
        // Weak: the task keeps this layer alive until it runs, and must not be kept alive by it in turn.
        std::weak_ptr<base::RunLoop::ScheduledTask> endTask;
    };

    // Draws the layer's own content into the context as the current one; false when there was nothing to draw.
    bool drawOwnContent(const std::shared_ptr<gfx::Context>& context);
    void insertAt(const std::shared_ptr<Layer>& layer, size_t index);
    void attach(std::shared_ptr<Animation> animation, std::string key,
        std::vector<std::shared_ptr<AnimationStopObserver>> observers);
    RunningAnimation* runningAnimation(const std::string& key);
    // Removes the animation under `key` without telling anyone, for a block that replaces its own animation.
    [[nodiscard]] std::optional<RunningAnimation> takeAnimation(const std::string& key);
    void animationReachedEnd(uint64_t id);
    void stopInterrupted(RunningAnimation entry);
    void setRunning(bool wasRunning, bool running);
    // In a window's tree, neither it nor a layer above it hidden.
    bool isShown() const;
    // Records a change of this layer (see version()).
    void touch();
    // Records a change in this layer's tree (see treeVersion()).
    void treeChanged();

    LayerProperties m_model;
    Role m_role { Role::StandAlone };
    std::weak_ptr<Layer> m_superlayer;
    std::vector<std::shared_ptr<Layer>> m_sublayers;
    std::weak_ptr<LayerDelegate> m_delegate;
    uint64_t m_version;
    uint64_t m_treeVersion;
    bool m_needsDisplay { false };
    bool m_drawsContent { true };
    // The contents the last display() drew, and whether the layer is listed among the layers holding one.
    std::weak_ptr<gfx::Image> m_drawnContents;
    bool m_listedAsDrawn { false };
    std::vector<RunningAnimation> m_animations;
};

} // namespace ui
