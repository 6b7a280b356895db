// kit::DrawerController: opening, closing, toggling, the animated centre swaps, width changes, the bounce
// preview and the visual state of the drawer while the centre moves.
#include "kit/drawer/DrawerController.h"

#include "kit/drawer/DrawerCenterContainerView.h"
#include "kit/drawer/DrawerLookup.h"
#include "ui/animation/KeyframeAnimation.h"
#include "ui/animation/Transaction.h"
#include "ui/view/View.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kit {

namespace {

    // The bounce preview's offsets in 128ths of its distance: three decaying half-waves.
    constexpr std::array<int, 32> bounceSteps { 0, 32, 60, 83, 100, 114, 124, 128, 128, 124, 114, 100, 83, 60, 32, 0,
        24, 42, 54, 62, 64, 62, 54, 42, 24, 0, 18, 28, 32, 28, 18, 0 };
    constexpr double bounceDuration = 0.8;

    void report(const DrawerController::Completion& completion, bool finished)
    {
        if (completion)
            completion(finished);
    }

    // At least the shortest duration; a speed of zero (or a broken one) takes the shortest duration instead
    // of an animation that never ends.
    double durationFor(double distance, double velocity)
    {
        double duration = std::max(std::abs(distance) / std::abs(velocity), DrawerController::minimumAnimationDuration);
        return std::isfinite(duration) ? duration : DrawerController::minimumAnimationDuration;
    }

    void endTransition(const std::shared_ptr<ui::ViewController>& controller)
    {
        if (controller)
            controller->endAppearanceTransition();
    }

    void beginTransition(const std::shared_ptr<ui::ViewController>& controller, bool appearing, bool animated)
    {
        if (controller)
            controller->beginAppearanceTransition(appearing, animated);
    }

} // namespace

double DrawerController::animationDurationForAnimationDistance(double distance) const
{
    return durationFor(distance, m_animationVelocity);
}

void DrawerController::toggleDrawerSide(DrawerSide side, bool animated, Completion completion)
{
    if (m_openSide == DrawerSide::None)
        openDrawerSide(side, animated, std::move(completion));
    else if (side == m_openSide && side != DrawerSide::None)
        closeDrawer(animated, std::move(completion));
    else
        report(completion, false);
}

void DrawerController::openDrawerSide(DrawerSide side, bool animated, Completion completion)
{
    openDrawerSide(side, animated, m_animationVelocity, 0, std::move(completion));
}

void DrawerController::openDrawerSide(
    DrawerSide side, bool animated, double velocity, unsigned options, Completion completion)
{
    auto drawer = sideDrawerViewControllerForSide(side);
    if (m_animatingDrawer || !drawer || !m_centerContainerView) {
        report(completion, false);
        return;
    }
    setAnimatingDrawer(animated);
    if (m_openSide != side)
        prepareToPresentDrawer(side, animated);

    gfx::Rect frame = m_centerContainerView->frame();
    double target = side == DrawerSide::Left ? maximumLeftDrawerWidth() : -maximumRightDrawerWidth();
    double duration = animated ? durationFor(frame.minX() - target, velocity) : 0;
    frame.origin.x = target;

    auto self = this->self();
    ui::View::animateWithDuration(
        duration, 0, options,
        [&] {
            setNeedsStatusBarAppearanceUpdateIfSupported();
            m_centerContainerView->setFrame(frame);
            updateDrawerVisualState(side, 1.0);
        },
        [self, side, drawer, completion = std::move(completion)](bool finished) {
            if (side != self->m_openSide)
                drawer->endAppearanceTransition();
            self->setOpenSide(side);
            self->resetDrawerVisualState(side);
            self->setAnimatingDrawer(false);
            report(completion, finished);
        });
}

void DrawerController::closeDrawer(bool animated, Completion completion)
{
    closeDrawer(animated, m_animationVelocity, 0, std::move(completion));
}

void DrawerController::closeDrawer(bool animated, double velocity, unsigned options, Completion completion)
{
    // Without a centre there is nothing to slide and nothing open.
    if (m_animatingDrawer || !m_centerContainerView) {
        report(completion, !m_animatingDrawer);
        return;
    }
    setAnimatingDrawer(animated);

    gfx::Rect frame = m_centerContainerView->frame();
    gfx::Rect closed = childControllerContainerView()->bounds();
    double duration = animated ? durationFor(frame.minX(), velocity) : 0;

    // The side uncovered on screen, which during a swap may differ from openSide.
    DrawerSide side = DrawerSide::None;
    double percent = 0;
    if (frame.minX() > 0) {
        side = DrawerSide::Left;
        percent = std::max(0.0, frame.minX() / maximumLeftDrawerWidth());
    } else if (frame.minX() < 0) {
        side = DrawerSide::Right;
        percent = std::max(0.0, (frame.width() - frame.maxX()) / maximumRightDrawerWidth());
    }
    auto drawer = sideDrawerViewControllerForSide(side);
    updateDrawerVisualState(side, percent);
    beginTransition(drawer, false, animated);

    auto self = this->self();
    ui::View::animateWithDuration(
        duration, 0, options,
        [&] {
            setNeedsStatusBarAppearanceUpdateIfSupported();
            m_centerContainerView->setFrame(closed);
            updateDrawerVisualState(side, 0.0);
        },
        [self, side, drawer, completion = std::move(completion)](bool finished) {
            endTransition(drawer);
            self->setOpenSide(DrawerSide::None);
            self->resetDrawerVisualState(side);
            self->setAnimatingDrawer(false);
            report(completion, finished);
        });
}

void DrawerController::prepareToPresentDrawer(DrawerSide side, bool animated)
{
    DrawerSide other = side == DrawerSide::Left ? DrawerSide::Right
        : side == DrawerSide::Right             ? DrawerSide::Left
                                                : DrawerSide::None;
    if (auto hidden = sideDrawerViewControllerForSide(other)) {
        childControllerContainerView()->sendSubviewToBack(hidden->view().get());
        hidden->view()->setHidden(true);
    }
    auto shown = sideDrawerViewControllerForSide(side);
    if (!shown)
        return;
    shown->view()->setHidden(false);
    updateShadowForCenterView();
    resetDrawerVisualState(side);
    shown->view()->setFrame(visibleDrawerFrame(*shown));
    updateDrawerVisualState(side, 0.0);
    shown->beginAppearanceTransition(true, animated);
}

// Centre swaps that close the drawer.

void DrawerController::setCenterViewControllerWithCloseAnimation(
    std::shared_ptr<ui::ViewController> center, bool closeAnimated, Completion completion)
{
    bool forward = center != m_centerViewController;
    bool closing = m_openSide != DrawerSide::None && closeAnimated;
    if (forward && closing) {
        auto old = m_centerViewController;
        beginTransition(old, false, false);
        setCenterViewController(center, true);
        endTransition(old);
    } else {
        setCenterViewController(center, closing);
    }
    if (!closing) {
        report(completion, true);
        return;
    }
    updateDrawerVisualState(m_openSide, 1.0);
    auto incoming = forward ? center : nullptr;
    beginTransition(incoming, true, true);
    auto self = this->self();
    closeDrawer(true, [self, incoming, completion = std::move(completion)](bool finished) {
        if (incoming) {
            incoming->endAppearanceTransition();
            incoming->didMoveToParentViewController(self);
        }
        report(completion, finished);
    });
}

void DrawerController::setCenterViewControllerWithFullCloseAnimation(
    std::shared_ptr<ui::ViewController> center, bool fullCloseAnimated, Completion completion)
{
    if (m_openSide != DrawerSide::None && fullCloseAnimated) {
        fullCloseAnimation(std::move(center), std::move(completion));
        return;
    }
    // No slide runs here, so the new centre gets its appearance calls from the plain swap.
    setCenterViewController(std::move(center), false);
    if (m_openSide != DrawerSide::None)
        closeDrawer(fullCloseAnimated, std::move(completion));
    else
        report(completion, true);
}

void DrawerController::fullCloseAnimation(std::shared_ptr<ui::ViewController> center, Completion completion)
{
    DrawerSide side = m_openSide;
    auto drawer = sideDrawerViewControllerForSide(side);
    bool forward = center != m_centerViewController;
    auto old = forward ? m_centerViewController : nullptr;
    double width = childControllerContainerView()->bounds().width();
    double target = side == DrawerSide::Left ? width : -width;
    double firstLeg = animationDurationForAnimationDistance(m_centerContainerView->frame().minX() - target);
    setAnimatingDrawer(true);
    beginTransition(old, false, true);

    auto self = this->self();
    ui::View::animateWithDuration(
        firstLeg, 0, 0,
        [&] {
            gfx::Rect offScreen = m_centerContainerView->frame();
            offScreen.origin.x = target;
            m_centerContainerView->setFrame(offScreen);
            if (drawer)
                drawer->view()->setFrame(m_childControllerContainerView->bounds());
        },
        [self, side, drawer, center, old, forward, completion = std::move(completion)](bool) mutable {
            gfx::Rect offScreen = self->m_centerContainerView->frame();
            self->setCenterViewController(center, true);
            self->m_centerContainerView->setFrame(offScreen);
            self->updateDrawerVisualState(side, 1.0);
            if (forward) {
                endTransition(old);
                beginTransition(center, true, true);
            }
            beginTransition(drawer, false, true);
            ui::View::animateWithDuration(
                self->animationDurationForAnimationDistance(self->m_childControllerContainerView->bounds().width()),
                fullCloseSecondLegDelay, 0,
                [&] {
                    self->m_centerContainerView->setFrame(self->m_childControllerContainerView->bounds());
                    self->updateDrawerVisualState(side, 0.0);
                },
                [self, side, drawer, center, forward, completion = std::move(completion)](bool finished) {
                    if (forward) {
                        endTransition(center);
                        if (center)
                            center->didMoveToParentViewController(self);
                    }
                    endTransition(drawer);
                    self->resetDrawerVisualState(side);
                    if (drawer)
                        drawer->view()->setFrame(visibleDrawerFrame(*drawer));
                    self->setOpenSide(DrawerSide::None);
                    self->setAnimatingDrawer(false);
                    report(completion, finished);
                });
        });
}

// Widths.

void DrawerController::setMaximumLeftDrawerWidth(double width, bool animated, Completion completion)
{
    setMaximumDrawerWidth(width, DrawerSide::Left, animated, std::move(completion));
}

void DrawerController::setMaximumRightDrawerWidth(double width, bool animated, Completion completion)
{
    setMaximumDrawerWidth(width, DrawerSide::Right, animated, std::move(completion));
}

void DrawerController::setMaximumDrawerWidth(double width, DrawerSide side, bool animated, Completion completion)
{
    if (side != DrawerSide::Left && side != DrawerSide::Right) {
        report(completion, false);
        return;
    }
    double& stored = side == DrawerSide::Left ? m_maximumLeftDrawerWidth : m_maximumRightDrawerWidth;
    double distance = std::abs(width - stored);
    stored = width;
    auto drawer = sideDrawerViewControllerForSide(side);
    if (side != m_openSide) {
        if (drawer)
            drawer->view()->setFrame(visibleDrawerFrame(*drawer));
        report(completion, true);
        return;
    }
    gfx::Rect frame = m_centerContainerView->frame();
    frame.origin.x = side == DrawerSide::Left ? width : -width;
    ui::View::animateWithDuration(
        animated ? animationDurationForAnimationDistance(distance) : 0, 0, 0,
        [&] {
            m_centerContainerView->setFrame(frame);
            if (drawer)
                drawer->view()->setFrame(visibleDrawerFrame(*drawer));
        },
        [completion = std::move(completion)](bool finished) { report(completion, finished); });
}

// Bounce preview.

void DrawerController::bouncePreviewForDrawerSide(DrawerSide side, Completion completion)
{
    bouncePreviewForDrawerSide(side, 50, std::move(completion));
}

void DrawerController::bouncePreviewForDrawerSide(DrawerSide side, double distance, Completion completion)
{
    auto drawer = sideDrawerViewControllerForSide(side);
    if (!drawer || m_openSide != DrawerSide::None) {
        report(completion, false);
        return;
    }
    prepareToPresentDrawer(side, true);
    updateDrawerVisualState(side, 1.0);

    ui::Transaction::begin();
    ui::Transaction::setCompletionBlock([drawer, completion = std::move(completion)] {
        drawer->endAppearanceTransition();
        drawer->beginAppearanceTransition(false, false);
        drawer->endAppearanceTransition();
        report(completion, true);
    });
    double sign = side == DrawerSide::Left ? 1 : -1;
    double middle = m_centerContainerView->bounds().midX();
    std::vector<ui::AnimatableValue> values;
    values.reserve(bounceSteps.size());
    for (int step : bounceSteps)
        values.emplace_back(middle + sign * distance * step / 128);
    auto bounce = std::make_shared<ui::KeyframeAnimation>("position.x");
    bounce->setValues(std::move(values));
    bounce->setRepeatCount(1);
    bounce->setDuration(bounceDuration);
    bounce->setFillMode(ui::FillMode::Forwards);
    bounce->setRemovedOnCompletion(true);
    bounce->setAutoreverses(false);
    m_centerContainerView->layer()->addAnimation(bounce, "bouncing");
    ui::Transaction::commit();
}

// Visual state.

void DrawerController::updateDrawerVisualState(DrawerSide side, double percentVisible)
{
    if (m_drawerVisualState)
        m_drawerVisualState(*this, side, percentVisible);
    else if (m_shouldStretchDrawer)
        applyOvershootScaleTransform(side, percentVisible);
}

void DrawerController::applyOvershootScaleTransform(DrawerSide side, double percentVisible)
{
    if (percentVisible < 1.0)
        return;
    auto drawer = sideDrawerViewControllerForSide(side);
    gfx::Transform3D transform = gfx::Transform3D::identity();
    if (side == DrawerSide::Left)
        transform = gfx::Transform3D::makeScale(percentVisible, 1, 1)
                        .translated((percentVisible - 1) * maximumLeftDrawerWidth() * 0.5, 0, 0);
    else if (side == DrawerSide::Right)
        transform = gfx::Transform3D::makeScale(percentVisible, 1, 1)
                        .translated((percentVisible - 1) * maximumRightDrawerWidth() * -0.5, 0, 0);
    if (drawer)
        drawer->view()->layer()->setTransform(transform);
}

void DrawerController::resetDrawerVisualState(DrawerSide side)
{
    auto drawer = sideDrawerViewControllerForSide(side);
    if (!drawer)
        return;
    const auto& drawerView = drawer->view();
    drawerView->layer()->setAnchorPoint({ 0.5, 0.5 });
    drawerView->layer()->setTransform(gfx::Transform3D::identity());
    drawerView->setAlpha(1.0);
}

} // namespace kit
