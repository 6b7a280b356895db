// kit::DrawerController: the root container of the signed-in application. A centre controller fills the
// screen; a left and a right drawer controller lie underneath it. Opening a drawer slides the centre
// sideways by the drawer's width (by call, by a pan, or by a bounce preview); closing slides it back (by
// call, pan or tap). The container owns its three children and forwards their appearance callbacks by hand,
// swaps the centre (plainly, closing the drawer, or sliding it off screen first), keeps a shadow on the
// centre, may show a strip behind the status bar, and lets a visual-state block move the drawer while the
// centre moves. Main thread; always made with std::make_shared (or make()).
//
// The centre container's x is the drawer state on screen: > 0 left drawer uncovered, < 0 right drawer
// uncovered, 0 closed. Open and close requests made while an animated open, close or full-close swap runs
// report false to their completion and change nothing. Every completion runs on the run loop and gets the
// animation's finished flag.
//
//   auto drawer = kit::DrawerController::make(homeNavigation, menu, nullptr);
//   drawer->setOpenDrawerGestureModeMask(kit::OpenDrawerGestureMode::BezelPan);
//   drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
#pragma once

#include "gfx/drawing/Color.h"
#include "gfx/geometry/Rect.h"
#include "kit/drawer/DrawerTypes.h"
#include "ui/controllers/ViewController.h"
#include "ui/input/GestureRecognizerDelegate.h"

#include <functional>
#include <memory>

namespace ui {
class GestureRecognizer;
class PanGestureRecognizer;
class TapGestureRecognizer;
class Touch;
class View;
} // namespace ui

namespace kit {

class DrawerCenterContainerView;

class DrawerController : public ui::ViewController, public ui::GestureRecognizerDelegate {
public:
    using Completion = std::function<void(bool finished)>;
    using GestureShouldRecognizeTouchBlock
        = std::function<bool(DrawerController&, ui::GestureRecognizer&, const ui::Touch&)>;
    using GestureCompletionBlock = std::function<void(DrawerController&, ui::GestureRecognizer&)>;

    // The shortest open or close animation.
    static constexpr double minimumAnimationDuration = 0.15f;
    // The pause between the two legs of the full-close swap.
    static constexpr double fullCloseSecondLegDelay = 0.1f;
    static constexpr double statusBarStripHeight = 20;

    // A container with every default set and no children.
    DrawerController();
    // A container with its children set in the order centre, left, right; either drawer may be nullptr.
    static std::shared_ptr<DrawerController> make(std::shared_ptr<ui::ViewController> center,
        std::shared_ptr<ui::ViewController> left, std::shared_ptr<ui::ViewController> right);

    // Opening and closing. Opening a side without a drawer controller reports false and changes nothing.
    void toggleDrawerSide(DrawerSide side, bool animated, Completion completion = {});
    void closeDrawer(bool animated, Completion completion = {});
    // `velocity` in points per second; `options` a view-animation curve.
    void closeDrawer(bool animated, double velocity, unsigned options, Completion completion);
    void openDrawerSide(DrawerSide side, bool animated, Completion completion = {});
    void openDrawerSide(DrawerSide side, bool animated, double velocity, unsigned options, Completion completion);
    // Escape closes an open drawer; with none open it goes to the centre.
    bool performEscape() override;

    // Replacing the centre. `animated` here means the caller animates and finishes the appearance calls of
    // the new centre itself.
    void setCenterViewController(std::shared_ptr<ui::ViewController> center, bool animated);
    // Swaps the centre and, when a drawer is open and `closeAnimated` is set, closes it animated. Without the
    // animation an open drawer stays open.
    void setCenterViewControllerWithCloseAnimation(
        std::shared_ptr<ui::ViewController> center, bool closeAnimated, Completion completion = {});
    // With a drawer open and animated: slides the centre off screen while the drawer widens to the whole
    // container, swaps the centre there, then slides it back closed.
    void setCenterViewControllerWithFullCloseAnimation(
        std::shared_ptr<ui::ViewController> center, bool fullCloseAnimated, Completion completion = {});

    // Drawer widths. Only Left and Right have one; another side reports false and stores nothing.
    void setMaximumLeftDrawerWidth(double width, bool animated, Completion completion = {});
    void setMaximumRightDrawerWidth(double width, bool animated, Completion completion = {});
    void setMaximumDrawerWidth(double width, DrawerSide side, bool animated, Completion completion = {});

    // Shows a closed side's drawer by bouncing the centre towards it and back (0.8 s); reports false when
    // the side has no drawer or a drawer is open. Changes neither openSide nor animatingDrawer.
    void bouncePreviewForDrawerSide(DrawerSide side, Completion completion = {});
    void bouncePreviewForDrawerSide(DrawerSide side, double distance, Completion completion = {});

    // Children.
    const std::shared_ptr<ui::ViewController>& centerViewController() const { return m_centerViewController; }
    void setCenterViewController(std::shared_ptr<ui::ViewController> center);
    const std::shared_ptr<ui::ViewController>& leftDrawerViewController() const { return m_leftDrawerViewController; }
    void setLeftDrawerViewController(std::shared_ptr<ui::ViewController> controller);
    const std::shared_ptr<ui::ViewController>& rightDrawerViewController() const { return m_rightDrawerViewController; }
    void setRightDrawerViewController(std::shared_ptr<ui::ViewController> controller);
    // Left or Right; other sides change nothing.
    void setDrawerViewController(std::shared_ptr<ui::ViewController> controller, DrawerSide side);
    // None: the centre; Left, Right: that drawer.
    std::shared_ptr<ui::ViewController> childViewControllerForSide(DrawerSide side) const;
    // Left, Right: that drawer; None: nullptr.
    std::shared_ptr<ui::ViewController> sideDrawerViewControllerForSide(DrawerSide side) const;

    // Widths in points. A side without a drawer controller reads 0 (its stored width comes back with one).
    double maximumLeftDrawerWidth() const;
    void setMaximumLeftDrawerWidth(double width) { setMaximumLeftDrawerWidth(width, false); }
    double maximumRightDrawerWidth() const;
    void setMaximumRightDrawerWidth(double width) { setMaximumRightDrawerWidth(width, false); }
    double visibleLeftDrawerWidth() const;
    double visibleRightDrawerWidth() const;

    double animationVelocity() const { return m_animationVelocity; }
    void setAnimationVelocity(double pointsPerSecond) { m_animationVelocity = pointsPerSecond; }
    // Whether a pan may drag the centre beyond a drawer's width (against a rubber band) and the drawer
    // stretches with it.
    bool shouldStretchDrawer() const { return m_shouldStretchDrawer; }
    void setShouldStretchDrawer(bool stretch) { m_shouldStretchDrawer = stretch; }

    DrawerSide openSide() const { return m_openSide; }
    bool isAnimatingDrawer() const { return m_animatingDrawer; }

    // Gesture masks (OpenDrawerGestureMode, CloseDrawerGestureMode bits).
    unsigned openDrawerGestureModeMask() const { return m_openDrawerGestureModeMask; }
    void setOpenDrawerGestureModeMask(unsigned mask) { m_openDrawerGestureModeMask = mask; }
    unsigned closeDrawerGestureModeMask() const { return m_closeDrawerGestureModeMask; }
    void setCloseDrawerGestureModeMask(unsigned mask) { m_closeDrawerGestureModeMask = mask; }
    CenterInteractionMode centerHiddenInteractionMode() const { return m_centerHiddenInteractionMode; }
    void setCenterHiddenInteractionMode(CenterInteractionMode mode);
    // The width of the edge strips where a bezel pan starts.
    double bezelPanningCenterViewRange() const { return m_bezelPanningCenterViewRange; }
    void setBezelPanningCenterViewRange(double range) { m_bezelPanningCenterViewRange = range; }
    // The horizontal speed, in points per second, above which the end of a pan counts as a flick.
    double panVelocityXAnimationThreshold() const { return m_panVelocityXAnimationThreshold; }
    void setPanVelocityXAnimationThreshold(double threshold) { m_panVelocityXAnimationThreshold = threshold; }

    // The centre's shadow.
    bool showsShadow() const { return m_showsShadow; }
    void setShowsShadow(bool shows);
    double shadowRadius() const { return m_shadowRadius; }
    void setShadowRadius(double radius);
    double shadowOpacity() const { return m_shadowOpacity; }
    void setShadowOpacity(double opacity);
    gfx::Size shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(gfx::Size offset);
    const gfx::Color& shadowColor() const { return m_shadowColor; }
    void setShadowColor(const gfx::Color& color);

    // The strip behind the status bar; showing it moves the children 20 points down.
    bool showsStatusBarBackgroundView() const { return m_showsStatusBarBackgroundView; }
    void setShowsStatusBarBackgroundView(bool shows);
    const gfx::Color& statusBarViewBackgroundColor() const { return m_statusBarViewBackgroundColor; }
    void setStatusBarViewBackgroundColor(const gfx::Color& color);

    // Views, made on first use.
    const std::shared_ptr<ui::View>& childControllerContainerView();
    const std::shared_ptr<ui::View>& dummyStatusBarView();
    // Made with the first centre; nullptr before.
    const std::shared_ptr<DrawerCenterContainerView>& centerContainerView() const { return m_centerContainerView; }

    // Blocks.
    const DrawerVisualStateBlock& drawerVisualState() const { return m_drawerVisualState; }
    void setDrawerVisualStateBlock(DrawerVisualStateBlock block) { m_drawerVisualState = std::move(block); }
    void setGestureShouldRecognizeTouchBlock(GestureShouldRecognizeTouchBlock block)
    {
        m_gestureShouldRecognizeTouch = std::move(block);
    }
    void setGestureCompletionBlock(GestureCompletionBlock block) { m_gestureCompletion = std::move(block); }

    // The centre's frame at the start of the pan under way; null between pans.
    const gfx::Rect& startingPanRect() const { return m_startingPanRect; }

    // Gestures: which touches the pan and tap recognisers take, and the regions they test, in the
    // coordinates of childControllerContainerView.
    bool gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer& recognizer, const ui::Touch& touch) override;
    unsigned possibleOpenGestureModes(ui::GestureRecognizer& recognizer, const ui::Touch& touch);
    unsigned possibleCloseGestureModes(ui::GestureRecognizer& recognizer, const ui::Touch& touch);
    bool isPointContainedWithinNavigationRect(gfx::Point point);
    bool isPointContainedWithinCenterViewContentRect(gfx::Point point);
    bool isPointContainedWithinLeftBezelRect(gfx::Point point);
    bool isPointContainedWithinRightBezelRect(gfx::Point point);
    // The pan's target x held against the drawer widths, with a rubber band beyond them when stretching.
    double roundedOriginXForDrawerConstraints(double originX);
    void panGestureCallback(ui::PanGestureRecognizer& pan);
    void tapGestureCallback(ui::TapGestureRecognizer& tap);
    // Settles the drawer open or closed after a pan that ended with horizontal velocity `velocityX`.
    void finishAnimationForPanGesture(double velocityX, Completion completion);

    // View controller.
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    bool shouldAutomaticallyForwardAppearanceMethods() const override { return false; }
    bool shouldAutomaticallyForwardRotationMethods() const { return false; }
    std::shared_ptr<ui::ViewController> childViewControllerForStatusBarStyle() const override;
    std::shared_ptr<ui::ViewController> childViewControllerForStatusBarHidden() const override;
    bool shouldAutorotate() const override { return true; }
    void willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(ui::InterfaceOrientation orientation) override;
    // Whether the platform is old enough to need rotation calls forwarded to the children by hand.
    [[nodiscard]] static bool needsManualForwardingOfRotationEvents();
    // Keeps the children under "DrawerLeftDrawer", "DrawerRightDrawer", "DrawerCenter" and the open side
    // under "DrawerOpenSide"; decoding opens a restored Left or Right side at once when it has a drawer.
    void encodeRestorableState(ui::KeyedCoder& coder) override;
    void decodeRestorableState(const ui::KeyedCoder& coder) override;

    // Visual state: the block when set; otherwise, when stretching, the stretch of a drawer beyond full open.
    void updateDrawerVisualState(DrawerSide side, double percentVisible);
    void applyOvershootScaleTransform(DrawerSide side, double percentVisible);
    // Anchor point centred, identity transform, alpha 1.
    void resetDrawerVisualState(DrawerSide side);
    // max(distance / animationVelocity, minimumAnimationDuration).
    double animationDurationForAnimationDistance(double distance) const;

private:
    void setOpenSide(DrawerSide side);
    void setAnimatingDrawer(bool animating);
    void setupGestureRecognizers();
    void prepareToPresentDrawer(DrawerSide side, bool animated);
    void updateShadowForCenterView();
    // Whether a side drawer's view is in the container and not hidden (open, opening or dragged into view).
    bool sideDrawerShown() const;
    void setNeedsStatusBarAppearanceUpdateIfSupported();
    void makeCenterContainerView();
    void removeCenterViewController(bool animated);
    void fullCloseAnimation(std::shared_ptr<ui::ViewController> center, Completion completion);
    gfx::Rect navigationRect();
    void swapOpenSideDuringPan(DrawerSide side);
    void forwardAppearance(bool appearing, bool animated);
    void endForwardedAppearance();
    void forEachChildForRotation(const std::function<void(ui::ViewController&)>& call);
    std::shared_ptr<DrawerController> self() { return ui::sharedFrom(this); }
    std::weak_ptr<DrawerController> weakSelf() { return ui::weakFrom(this); }

    std::shared_ptr<ui::ViewController> m_centerViewController;
    std::shared_ptr<ui::ViewController> m_leftDrawerViewController;
    std::shared_ptr<ui::ViewController> m_rightDrawerViewController;
    double m_maximumLeftDrawerWidth { 280 };
    double m_maximumRightDrawerWidth { 280 };
    double m_animationVelocity { 840 };
    bool m_shouldStretchDrawer { true };
    DrawerSide m_openSide { DrawerSide::None };
    unsigned m_openDrawerGestureModeMask { 0 };
    unsigned m_closeDrawerGestureModeMask { 0 };
    CenterInteractionMode m_centerHiddenInteractionMode { CenterInteractionMode::NavigationBar };
    bool m_showsShadow { true };
    double m_shadowRadius { 10 };
    double m_shadowOpacity { 0.8 };
    gfx::Size m_shadowOffset { 0, -3 };
    gfx::Color m_shadowColor { gfx::Color::black() };
    bool m_showsStatusBarBackgroundView { false };
    gfx::Color m_statusBarViewBackgroundColor { gfx::Color::black() };
    double m_bezelPanningCenterViewRange { 20 };
    double m_panVelocityXAnimationThreshold { 200 };
    std::shared_ptr<ui::View> m_childControllerContainerView;
    std::shared_ptr<DrawerCenterContainerView> m_centerContainerView;
    std::shared_ptr<ui::View> m_dummyStatusBarView;
    gfx::Rect m_startingPanRect { gfx::Rect::null() };
    DrawerVisualStateBlock m_drawerVisualState;
    GestureShouldRecognizeTouchBlock m_gestureShouldRecognizeTouch;
    GestureCompletionBlock m_gestureCompletion;
    bool m_animatingDrawer { false };
};

} // namespace kit
