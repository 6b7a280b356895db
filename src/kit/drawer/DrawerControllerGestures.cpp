// kit::DrawerController: the pan and tap gestures of the root view. Two masks
// say where a touch may start a gesture that opens a closed drawer and where
// one that closes an open drawer; a pan drags the centre against a rubber band
// and settles open or closed from its speed and position; a tap on the
// uncovered centre closes the drawer.
#include "kit/drawer/DrawerController.h"

#include "kit/drawer/DrawerCenterContainerView.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/view/View.h"
#include "ui/view/ViewTypes.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

    // How far beyond the target a drag of `delta` points past it shows: unchanged
    // up to `limit`, then approaching 2 x limit.
    double rubberBand(double originX, double target, double maximumOvershoot)
    {
        double delta = std::abs(originX - target);
        double limit = 0.75 * maximumOvershoot;
        if (delta < limit)
            return originX;
        double beyond = delta - limit;
        double overshoot = limit + beyond * limit / std::sqrt(beyond * beyond + 15000);
        return target < 0 ? target - std::round(overshoot) : target + std::round(overshoot);
    }

    // The part of the remaining width that a stretched drawer may overshoot by.
    constexpr double stretchFraction = 0.1f;

} // namespace

void DrawerController::setupGestureRecognizers()
{
    auto weak = weakSelf();
    auto pan = std::make_shared<ui::PanGestureRecognizer>([weak](ui::GestureRecognizer& recognizer) {
        if (auto self = weak.lock())
            self->panGestureCallback(static_cast<ui::PanGestureRecognizer&>(recognizer));
    });
    auto tap = std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer& recognizer) {
        if (auto self = weak.lock())
            self->tapGestureCallback(static_cast<ui::TapGestureRecognizer&>(recognizer));
    });
    std::weak_ptr<ui::GestureRecognizerDelegate> delegate = std::shared_ptr<ui::GestureRecognizerDelegate>(self());
    pan->setDelegate(delegate);
    tap->setDelegate(delegate);
    view()->addGestureRecognizer(pan);
    view()->addGestureRecognizer(tap);
}

// Which touches the recognisers take.

bool DrawerController::gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer& recognizer, const ui::Touch& touch)
{
    if (m_openSide != DrawerSide::None)
        return (m_closeDrawerGestureModeMask & possibleCloseGestureModes(recognizer, touch)) != 0;
    return (m_openDrawerGestureModeMask & possibleOpenGestureModes(recognizer, touch)) != 0;
}

unsigned DrawerController::possibleOpenGestureModes(ui::GestureRecognizer& recognizer, const ui::Touch& touch)
{
    gfx::Point point = touch.locationInView(childControllerContainerView().get());
    unsigned modes = 0;
    if (dynamic_cast<ui::PanGestureRecognizer*>(&recognizer)) {
        if (isPointContainedWithinNavigationRect(point))
            modes |= OpenDrawerGestureMode::NavigationBarPan;
        if (isPointContainedWithinCenterViewContentRect(point))
            modes |= OpenDrawerGestureMode::CenterPan;
        if ((isPointContainedWithinLeftBezelRect(point) && m_leftDrawerViewController)
            || (isPointContainedWithinRightBezelRect(point) && m_rightDrawerViewController))
            modes |= OpenDrawerGestureMode::BezelPan;
    }
    if ((m_openDrawerGestureModeMask & OpenDrawerGestureMode::CustomTest) && m_gestureShouldRecognizeTouch
        && m_gestureShouldRecognizeTouch(*this, recognizer, touch))
        modes |= OpenDrawerGestureMode::CustomTest;
    return modes;
}

unsigned DrawerController::possibleCloseGestureModes(ui::GestureRecognizer& recognizer, const ui::Touch& touch)
{
    gfx::Point point = touch.locationInView(childControllerContainerView().get());
    bool onNavigationBar = isPointContainedWithinNavigationRect(point);
    bool onCenter = isPointContainedWithinCenterViewContentRect(point);
    unsigned modes = 0;
    if (dynamic_cast<ui::PanGestureRecognizer*>(&recognizer)) {
        if (onNavigationBar)
            modes |= CloseDrawerGestureMode::NavigationBarPan;
        if (onCenter)
            modes |= CloseDrawerGestureMode::CenterPan;
        if ((isPointContainedWithinLeftBezelRect(point) && m_openSide == DrawerSide::Right)
            || (isPointContainedWithinRightBezelRect(point) && m_openSide == DrawerSide::Left))
            modes |= CloseDrawerGestureMode::BezelPan;
        if (!onCenter && !onNavigationBar)
            modes |= CloseDrawerGestureMode::DrawerPan;
    }
    if (dynamic_cast<ui::TapGestureRecognizer*>(&recognizer)) {
        if (onNavigationBar)
            modes |= CloseDrawerGestureMode::NavigationBarTap;
        if (onCenter)
            modes |= CloseDrawerGestureMode::CenterTap;
    }
    if ((m_closeDrawerGestureModeMask & CloseDrawerGestureMode::CustomTest) && m_gestureShouldRecognizeTouch
        && m_gestureShouldRecognizeTouch(*this, recognizer, touch))
        modes |= CloseDrawerGestureMode::CustomTest;
    return modes;
}

// Regions, in the child container's coordinates.

gfx::Rect DrawerController::navigationRect()
{
    auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(m_centerViewController);
    if (!navigation)
        return gfx::Rect::null();
    const auto& container = childControllerContainerView();
    const auto& bar = navigation->navigationBar();
    return container->convertRectFrom(bar->bounds(), bar.get()).intersection(container->bounds());
}

bool DrawerController::isPointContainedWithinNavigationRect(gfx::Point point)
{
    return navigationRect().contains(point);
}

bool DrawerController::isPointContainedWithinCenterViewContentRect(gfx::Point point)
{
    if (!m_centerContainerView)
        return false;
    gfx::Rect content = m_centerContainerView->frame().intersection(childControllerContainerView()->bounds());
    return content.contains(point) && !isPointContainedWithinNavigationRect(point);
}

bool DrawerController::isPointContainedWithinLeftBezelRect(gfx::Point point)
{
    gfx::Rect strip
        = childControllerContainerView()->bounds().divided(m_bezelPanningCenterViewRange, gfx::Rect::Edge::MinX).first;
    return strip.contains(point) && isPointContainedWithinCenterViewContentRect(point);
}

bool DrawerController::isPointContainedWithinRightBezelRect(gfx::Point point)
{
    gfx::Rect strip
        = childControllerContainerView()->bounds().divided(m_bezelPanningCenterViewRange, gfx::Rect::Edge::MaxX).first;
    return strip.contains(point) && isPointContainedWithinCenterViewContentRect(point);
}

// Dragging.

double DrawerController::roundedOriginXForDrawerConstraints(double originX)
{
    double centerWidth = m_centerContainerView ? m_centerContainerView->frame().width() : 0;
    double right = maximumRightDrawerWidth();
    double left = maximumLeftDrawerWidth();
    if (originX < -right) {
        if (m_shouldStretchDrawer && m_rightDrawerViewController)
            return rubberBand(originX, -right, (centerWidth - right) * stretchFraction);
        return -right;
    }
    if (originX > left) {
        if (m_shouldStretchDrawer && m_leftDrawerViewController)
            return rubberBand(originX, left, (centerWidth - left) * stretchFraction);
        return left;
    }
    return originX;
}

void DrawerController::panGestureCallback(ui::PanGestureRecognizer& pan)
{
    switch (pan.state()) {
    case ui::GestureRecognizer::State::Began:
        // A pan that starts while the drawer still settles from the last one is not
        // followed. The recogniser is switched off to cancel it and on again at
        // once, so the next pan is seen.
        if (m_animatingDrawer) {
            pan.setEnabled(false);
            pan.setEnabled(true);
            return;
        }
        m_startingPanRect = m_centerContainerView ? m_centerContainerView->frame() : gfx::Rect::null();
        [[fallthrough]];
    case ui::GestureRecognizer::State::Changed: {
        if (m_startingPanRect.isNull())
            return;
        view()->setUserInteractionEnabled(false);
        gfx::Rect frame = m_startingPanRect;
        frame.origin.x = roundedOriginXForDrawerConstraints(
            m_startingPanRect.minX() + pan.translationInView(m_centerContainerView.get()).x);
        frame = frame.integral();

        DrawerSide side = DrawerSide::None;
        double percent = 0;
        if (frame.minX() > 0) {
            side = DrawerSide::Left;
            percent = frame.minX() / maximumLeftDrawerWidth();
        } else if (frame.minX() < 0) {
            side = DrawerSide::Right;
            percent = -frame.minX() / maximumRightDrawerWidth();
        }
        if (side != m_openSide)
            swapOpenSideDuringPan(side);
        updateDrawerVisualState(side, percent);

        m_centerContainerView->setCenter(frame.center());
        gfx::Rect placed = m_centerContainerView->frame();
        placed.origin = { std::floor(placed.minX()), std::floor(placed.minY()) };
        m_centerContainerView->setFrame(placed);
        break;
    }
    case ui::GestureRecognizer::State::Ended:
    case ui::GestureRecognizer::State::Cancelled: {
        m_startingPanRect = gfx::Rect::null();
        double velocityX = pan.velocityInView(childControllerContainerView().get()).x;
        auto weak = weakSelf();
        auto recognizer = pan.shared_from_this();
        finishAnimationForPanGesture(velocityX, [weak, recognizer](bool) {
            auto self = weak.lock();
            if (self && self->m_gestureCompletion)
                self->m_gestureCompletion(*self, *recognizer);
        });
        view()->setUserInteractionEnabled(true);
        break;
    }
    default:
        break;
    }
}

void DrawerController::swapOpenSideDuringPan(DrawerSide side)
{
    if (auto leaving = sideDrawerViewControllerForSide(m_openSide)) {
        leaving->beginAppearanceTransition(false, false);
        leaving->endAppearanceTransition();
    }
    prepareToPresentDrawer(side, false);
    if (auto arriving = sideDrawerViewControllerForSide(side))
        arriving->endAppearanceTransition();
    setOpenSide(side);
}

void DrawerController::finishAnimationForPanGesture(double velocityX, Completion completion)
{
    double threshold = m_panVelocityXAnimationThreshold;
    double flick = std::max(std::abs(velocityX), 2 * threshold);
    const unsigned easeOut = ui::AnimationOptions::CurveEaseOut;
    gfx::Rect frame = m_centerContainerView ? m_centerContainerView->frame() : gfx::Rect::zero();
    switch (m_openSide) {
    case DrawerSide::Left:
        if (velocityX > threshold)
            openDrawerSide(DrawerSide::Left, true, flick, easeOut, std::move(completion));
        else if (velocityX < -threshold)
            closeDrawer(true, flick, easeOut, std::move(completion));
        else if (frame.minX() < maximumLeftDrawerWidth() / 2)
            closeDrawer(true, std::move(completion));
        else
            openDrawerSide(DrawerSide::Left, true, std::move(completion));
        break;
    case DrawerSide::Right: {
        double right = maximumRightDrawerWidth();
        if (velocityX > threshold)
            closeDrawer(true, flick, easeOut, std::move(completion));
        else if (velocityX < -threshold)
            openDrawerSide(DrawerSide::Right, true, flick, easeOut, std::move(completion));
        else if (frame.maxX() > (m_childControllerContainerView->bounds().width() - right) + right / 2)
            closeDrawer(true, std::move(completion));
        else
            openDrawerSide(DrawerSide::Right, true, std::move(completion));
        break;
    }
    case DrawerSide::None:
        if (completion)
            completion(false);
        break;
    }
}

// Tapping.

void DrawerController::tapGestureCallback(ui::TapGestureRecognizer& tap)
{
    if (m_openSide == DrawerSide::None || m_animatingDrawer)
        return;
    auto weak = weakSelf();
    auto recognizer = tap.shared_from_this();
    closeDrawer(true, [weak, recognizer](bool) {
        auto self = weak.lock();
        if (self && self->m_gestureCompletion)
            self->m_gestureCompletion(*self, *recognizer);
    });
}

} // namespace kit
