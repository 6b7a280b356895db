// kit::DrawerController: children, views, shadow, status-bar strip, appearance forwarding, rotation and
// restoration. Animations are in DrawerControllerAnimations.cpp, gestures in DrawerControllerGestures.cpp.
#include "kit/drawer/DrawerController.h"
#include "base/loop/MainThread.h"

#include "base/system/Facts.h"
#include "kit/drawer/DrawerCenterContainerView.h"
#include "kit/drawer/DrawerLookup.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/controllers/KeyedCoder.h"
#include "ui/input/GestureRecognizer.h"
#include "ui/view/View.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

    void clearShadow(ui::Layer& layer)
    {
        layer.setShadowRadius(0);
        layer.setShadowOpacity(0);
        layer.setShadowOffset({ 0, -3 });
        layer.setShadowPath(std::nullopt);
    }

    constexpr unsigned flexibleSize = ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight;

    // A child's view leaves its container between a begun and an ended disappearing transition.
    void removeViewWithDisappearance(ui::ViewController& controller)
    {
        controller.beginAppearanceTransition(false, false);
        if (controller.isViewLoaded())
            controller.view()->removeFromSuperview();
        controller.endAppearanceTransition();
    }

} // namespace

DrawerController::DrawerController() = default;

std::shared_ptr<DrawerController> DrawerController::make(std::shared_ptr<ui::ViewController> center,
    std::shared_ptr<ui::ViewController> left, std::shared_ptr<ui::ViewController> right)
{
    BASE_ASSERT_MAIN_THREAD();
    auto drawer = std::make_shared<DrawerController>();
    drawer->setCenterViewController(std::move(center));
    drawer->setLeftDrawerViewController(std::move(left));
    drawer->setRightDrawerViewController(std::move(right));
    return drawer;
}

// Children.

void DrawerController::setCenterViewController(std::shared_ptr<ui::ViewController> center)
{
    BASE_ASSERT_MAIN_THREAD();
    setCenterViewController(std::move(center), false);
}

void DrawerController::setCenterViewController(std::shared_ptr<ui::ViewController> center, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (center == m_centerViewController)
        return;
    if (!m_centerContainerView)
        makeCenterContainerView();
    removeCenterViewController(animated);
    m_centerViewController = std::move(center);
    if (!m_centerViewController)
        return;
    addChildViewController(m_centerViewController);
    const auto& centerView = m_centerViewController->view();
    centerView->setFrame(childControllerContainerView()->bounds());
    m_centerContainerView->addSubview(centerView);
    childControllerContainerView()->bringSubviewToFront(m_centerContainerView.get());
    centerView->setAutoresizingMask(flexibleSize);
    updateShadowForCenterView();
    if (animated)
        return;
    if (view()->window()) {
        m_centerViewController->beginAppearanceTransition(true, false);
        m_centerViewController->endAppearanceTransition();
    }
    m_centerViewController->didMoveToParentViewController(self());
}

void DrawerController::makeCenterContainerView()
{
    m_centerContainerView = std::make_shared<DrawerCenterContainerView>(childControllerContainerView()->bounds());
    m_centerContainerView->setAutoresizingMask(flexibleSize);
    m_centerContainerView->setBackgroundColor(gfx::Color::clear());
    m_centerContainerView->setOpenSide(m_openSide);
    m_centerContainerView->setCenterInteractionMode(m_centerHiddenInteractionMode);
    childControllerContainerView()->addSubview(m_centerContainerView);
}

void DrawerController::removeCenterViewController(bool animated)
{
    auto old = m_centerViewController;
    if (!old)
        return;
    old->willMoveToParentViewController(nullptr);
    if (animated) {
        if (old->isViewLoaded())
            old->view()->removeFromSuperview();
    } else {
        removeViewWithDisappearance(*old);
    }
    old->removeFromParentViewController();
}

void DrawerController::setLeftDrawerViewController(std::shared_ptr<ui::ViewController> controller)
{
    BASE_ASSERT_MAIN_THREAD();
    setDrawerViewController(std::move(controller), DrawerSide::Left);
}

void DrawerController::setRightDrawerViewController(std::shared_ptr<ui::ViewController> controller)
{
    BASE_ASSERT_MAIN_THREAD();
    setDrawerViewController(std::move(controller), DrawerSide::Right);
}

void DrawerController::setDrawerViewController(std::shared_ptr<ui::ViewController> controller, DrawerSide side)
{
    BASE_ASSERT_MAIN_THREAD();
    if (side != DrawerSide::Left && side != DrawerSide::Right)
        return;
    auto& slot = side == DrawerSide::Left ? m_leftDrawerViewController : m_rightDrawerViewController;
    if (controller == slot)
        return;
    if (auto old = slot) {
        removeViewWithDisappearance(*old);
        old->willMoveToParentViewController(nullptr);
        old->removeFromParentViewController();
    }
    slot = std::move(controller);
    if (!slot)
        return;
    auto drawer = slot;
    addChildViewController(drawer);
    const auto& container = childControllerContainerView();
    const auto& drawerView = drawer->view();
    if (side == m_openSide && m_centerContainerView && m_centerContainerView->superview() == container) {
        container->insertSubviewBelow(drawerView, m_centerContainerView.get());
        drawer->beginAppearanceTransition(true, false);
        drawer->endAppearanceTransition();
    } else {
        container->addSubview(drawerView);
        container->sendSubviewToBack(drawerView.get());
        drawerView->setHidden(true);
    }
    drawer->didMoveToParentViewController(self());
    drawerView->setAutoresizingMask((side == DrawerSide::Left ? ui::AutoresizingMask::FlexibleRightMargin
                                                              : ui::AutoresizingMask::FlexibleLeftMargin)
        | ui::AutoresizingMask::FlexibleHeight);
    drawerView->setFrame(visibleDrawerFrame(*drawer));
}

std::shared_ptr<ui::ViewController> DrawerController::childViewControllerForSide(DrawerSide side) const
{
    switch (side) {
    case DrawerSide::None:
        return m_centerViewController;
    case DrawerSide::Left:
        return m_leftDrawerViewController;
    case DrawerSide::Right:
        return m_rightDrawerViewController;
    }
    return nullptr;
}

std::shared_ptr<ui::ViewController> DrawerController::sideDrawerViewControllerForSide(DrawerSide side) const
{
    return side == DrawerSide::None ? nullptr : childViewControllerForSide(side);
}

// Widths.

double DrawerController::maximumLeftDrawerWidth() const
{
    return m_leftDrawerViewController ? m_maximumLeftDrawerWidth : 0;
}

double DrawerController::maximumRightDrawerWidth() const
{
    return m_rightDrawerViewController ? m_maximumRightDrawerWidth : 0;
}

double DrawerController::visibleLeftDrawerWidth() const
{
    return m_centerContainerView ? std::max(0.0, m_centerContainerView->frame().minX()) : 0;
}

double DrawerController::visibleRightDrawerWidth() const
{
    if (!m_centerContainerView || m_centerContainerView->frame().minX() >= 0)
        return 0;
    return m_childControllerContainerView->bounds().width() - m_centerContainerView->frame().maxX();
}

// State the centre container mirrors.

void DrawerController::setOpenSide(DrawerSide side)
{
    if (side == m_openSide)
        return;
    m_openSide = side;
    if (m_centerContainerView)
        m_centerContainerView->setOpenSide(side);
    if (side == DrawerSide::None) {
        for (const auto& drawer : { m_leftDrawerViewController, m_rightDrawerViewController }) {
            if (drawer && drawer->isViewLoaded())
                drawer->view()->setHidden(true);
        }
        updateShadowForCenterView();
    }
    setNeedsStatusBarAppearanceUpdateIfSupported();
}

void DrawerController::setCenterHiddenInteractionMode(CenterInteractionMode mode)
{
    BASE_ASSERT_MAIN_THREAD();
    if (mode == m_centerHiddenInteractionMode)
        return;
    m_centerHiddenInteractionMode = mode;
    if (m_centerContainerView)
        m_centerContainerView->setCenterInteractionMode(mode);
}

void DrawerController::setAnimatingDrawer(bool animating)
{
    m_animatingDrawer = animating;
    view()->setUserInteractionEnabled(!animating);
}

// Views.

const std::shared_ptr<ui::View>& DrawerController::childControllerContainerView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_childControllerContainerView) {
        const auto& root = view();
        gfx::Rect frame = root->bounds();
        if (m_showsStatusBarBackgroundView)
            frame = { frame.minX(), statusBarStripHeight, frame.width(), frame.height() - statusBarStripHeight };
        m_childControllerContainerView = std::make_shared<ui::View>(frame);
        m_childControllerContainerView->setBackgroundColor(gfx::Color::clear());
        m_childControllerContainerView->setAutoresizingMask(flexibleSize);
        root->addSubview(m_childControllerContainerView);
    }
    return m_childControllerContainerView;
}

const std::shared_ptr<ui::View>& DrawerController::dummyStatusBarView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_dummyStatusBarView) {
        const auto& root = view();
        m_dummyStatusBarView
            = std::make_shared<ui::View>(gfx::Rect { 0, 0, root->bounds().width(), statusBarStripHeight });
        m_dummyStatusBarView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        m_dummyStatusBarView->setBackgroundColor(m_statusBarViewBackgroundColor);
        m_dummyStatusBarView->setHidden(!m_showsStatusBarBackgroundView);
        root->addSubview(m_dummyStatusBarView);
    }
    return m_dummyStatusBarView;
}

void DrawerController::setShowsStatusBarBackgroundView(bool shows)
{
    BASE_ASSERT_MAIN_THREAD();
    if (shows == m_showsStatusBarBackgroundView)
        return;
    m_showsStatusBarBackgroundView = shows;
    const auto& container = childControllerContainerView();
    gfx::Rect frame = container->frame();
    double rootHeight = view()->bounds().height();
    if (shows)
        container->setFrame({ frame.minX(), statusBarStripHeight, frame.width(), rootHeight - statusBarStripHeight });
    else
        container->setFrame({ frame.minX(), 0, frame.width(), rootHeight });
    dummyStatusBarView()->setHidden(!shows);
}

void DrawerController::setStatusBarViewBackgroundColor(const gfx::Color& color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_statusBarViewBackgroundColor = color;
    dummyStatusBarView()->setBackgroundColor(color);
}

// Shadow.

void DrawerController::setShowsShadow(bool shows)
{
    BASE_ASSERT_MAIN_THREAD();
    m_showsShadow = shows;
    updateShadowForCenterView();
}

void DrawerController::setShadowRadius(double radius)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowRadius = radius;
    updateShadowForCenterView();
}

void DrawerController::setShadowOpacity(double opacity)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowOpacity = opacity;
    updateShadowForCenterView();
}

void DrawerController::setShadowOffset(gfx::Size offset)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowOffset = offset;
    updateShadowForCenterView();
}

void DrawerController::setShadowColor(const gfx::Color& color)
{
    BASE_ASSERT_MAIN_THREAD();
    m_shadowColor = color;
    updateShadowForCenterView();
}

bool DrawerController::sideDrawerShown() const
{
    for (const auto& drawer : { m_leftDrawerViewController, m_rightDrawerViewController }) {
        if (drawer && drawer->isViewLoaded() && drawer->view()->superview() && !drawer->view()->isHidden())
            return true;
    }
    return false;
}

void DrawerController::updateShadowForCenterView()
{
    if (!m_centerContainerView)
        return;
    const auto& layer = m_centerContainerView->layer();
    if (!m_showsShadow) {
        if (layer->shadowPath()) {
            clearShadow(*layer);
            layer->setMasksToBounds(true);
        }
        return;
    }
    layer->setMasksToBounds(false);
    // The shadow falls on a side drawer; with both hidden it would lie wholly under the centre.
    if (!sideDrawerShown()) {
        if (layer->shadowPath())
            clearShadow(*layer);
        return;
    }
    layer->setShadowRadius(m_shadowRadius);
    layer->setShadowOpacity(static_cast<float>(m_shadowOpacity));
    layer->setShadowOffset(m_shadowOffset);
    layer->setShadowColor(m_shadowColor);
    gfx::Rect bounds = m_centerContainerView->bounds();
    if (!layer->shadowPath() || layer->shadowPath()->boundingBox() != bounds)
        layer->setShadowPath(gfx::Path::rect(bounds));
}

// Status bar.

std::shared_ptr<ui::ViewController> DrawerController::childViewControllerForStatusBarStyle() const
{
    return childViewControllerForSide(m_openSide);
}

std::shared_ptr<ui::ViewController> DrawerController::childViewControllerForStatusBarHidden() const
{
    return childViewControllerForSide(m_openSide);
}

void DrawerController::setNeedsStatusBarAppearanceUpdateIfSupported() { setNeedsStatusBarAppearanceUpdate(); }

// Appearance, forwarded by hand to the centre and the open drawer.

void DrawerController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewDidLoad();
    view()->setBackgroundColor(gfx::Color::black());
    setupGestureRecognizers();
}

void DrawerController::forwardAppearance(bool appearing, bool animated)
{
    if (m_centerViewController)
        m_centerViewController->beginAppearanceTransition(appearing, animated);
    if (auto drawer = sideDrawerViewControllerForSide(m_openSide))
        drawer->beginAppearanceTransition(appearing, animated);
}

void DrawerController::endForwardedAppearance()
{
    if (m_centerViewController)
        m_centerViewController->endAppearanceTransition();
    if (auto drawer = sideDrawerViewControllerForSide(m_openSide))
        drawer->endAppearanceTransition();
}

void DrawerController::viewWillAppear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewWillAppear(animated);
    forwardAppearance(true, animated);
}

void DrawerController::viewDidAppear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewDidAppear(animated);
    updateShadowForCenterView();
    endForwardedAppearance();
}

void DrawerController::viewWillDisappear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewWillDisappear(animated);
    forwardAppearance(false, animated);
}

void DrawerController::viewDidDisappear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewDidDisappear(animated);
    endForwardedAppearance();
}

// Rotation.

bool DrawerController::needsManualForwardingOfRotationEvents()
{
    BASE_ASSERT_MAIN_THREAD();
    return std::floor(base::Facts::current().platformVersionNumber()) <= 1047.25;
}

void DrawerController::forEachChildForRotation(const std::function<void(ui::ViewController&)>& call)
{
    if (!needsManualForwardingOfRotationEvents())
        return;
    auto children = childViewControllers();
    for (const auto& child : children)
        call(*child);
}

void DrawerController::willRotateToInterfaceOrientation(ui::InterfaceOrientation orientation, double duration)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::willRotateToInterfaceOrientation(orientation, duration);
    bool cancelledGesture = false;
    auto recognizers = view()->gestureRecognizers();
    for (const auto& recognizer : recognizers) {
        if (recognizer->state() == ui::GestureRecognizer::State::Changed) {
            recognizer->setEnabled(false);
            recognizer->setEnabled(true);
            cancelledGesture = true;
        }
    }
    if (cancelledGesture)
        resetDrawerVisualState(m_openSide);
    forEachChildForRotation(
        [&](ui::ViewController& child) { child.willRotateToInterfaceOrientation(orientation, duration); });
}

void DrawerController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation orientation, double duration)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (m_showsShadow && m_centerContainerView) {
        const auto& layer = m_centerContainerView->layer();
        if (auto oldPath = layer->shadowPath()) {
            updateShadowForCenterView();
            auto transition = std::make_shared<ui::BasicAnimation>("shadowPath");
            transition->setFromValue(*oldPath);
            transition->setTimingFunction(ui::TimingFunction::named(ui::TimingFunction::Name::EaseInEaseOut));
            transition->setDuration(duration);
            layer->addAnimation(transition, "transition");
        } else {
            updateShadowForCenterView();
        }
    }
    forEachChildForRotation(
        [&](ui::ViewController& child) { child.willAnimateRotationToInterfaceOrientation(orientation, duration); });
}

void DrawerController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation orientation)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::didRotateFromInterfaceOrientation(orientation);
    forEachChildForRotation([&](ui::ViewController& child) { child.didRotateFromInterfaceOrientation(orientation); });
}

// Restoration.

void DrawerController::encodeRestorableState(ui::KeyedCoder& coder)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::encodeRestorableState(coder);
    if (m_leftDrawerViewController)
        coder.encodeObject(m_leftDrawerViewController, "DrawerLeftDrawer");
    if (m_rightDrawerViewController)
        coder.encodeObject(m_rightDrawerViewController, "DrawerRightDrawer");
    if (m_centerViewController)
        coder.encodeObject(m_centerViewController, "DrawerCenter");
    coder.encodeInteger(static_cast<int64_t>(m_openSide), "DrawerOpenSide");
}

void DrawerController::decodeRestorableState(const ui::KeyedCoder& coder)
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::decodeRestorableState(coder);
    if (auto left = coder.decodeObject("DrawerLeftDrawer"))
        setLeftDrawerViewController(std::move(left));
    if (auto right = coder.decodeObject("DrawerRightDrawer"))
        setRightDrawerViewController(std::move(right));
    if (auto center = coder.decodeObject("DrawerCenter"))
        setCenterViewController(std::move(center));
    // A stored side that is neither Left nor Right (a damaged or foreign state) restores closed; opening a
    // side without a drawer reports false and changes nothing.
    int64_t side = coder.decodeInteger("DrawerOpenSide");
    if (side == static_cast<int64_t>(DrawerSide::Left) || side == static_cast<int64_t>(DrawerSide::Right))
        openDrawerSide(static_cast<DrawerSide>(side), false);
}

bool DrawerController::performEscape()
{
    if (ui::ViewController::performEscape())
        return true;
    if (m_openSide != DrawerSide::None) {
        closeDrawer(true);
        return true;
    }
    return m_centerViewController && m_centerViewController->performEscape();
}

} // namespace kit
