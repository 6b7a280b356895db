#include "kit/media/MediaFocusViewController.h"

#include "base/loop/MainThread.h"
#include "kit/media/ImageBlur.h"
#include "kit/support/ViewPictures.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/view/Application.h"
#include "ui/dynamics/DynamicAnimator.h"
#include "ui/dynamics/DynamicItemBehavior.h"
#include "ui/controls/ImageView.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/dynamics/PushBehavior.h"
#include "ui/view/Screen.h"
#include "ui/scroll/ScrollView.h"
#include "ui/dynamics/SnapBehavior.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/view/Window.h"

#include <algorithm>

namespace kit {

namespace {
    // 1 divided by the single-precision 0.9: the window picture's container is that much larger than the
    // window, so that it still fills the screen once shrunk to 0.9.
    constexpr double containerGrowth = 1.1111111405455043;
    constexpr double backgroundBlurRadius = 2.0;
    constexpr double backgroundSaturation = 0.8;
    constexpr double imageFadeDuration = 0.08;
    constexpr double imageFadeDelay = 0.05;
    constexpr double adjustDuration = 0.3;
    constexpr unsigned easeOut = ui::AnimationOptions::CurveEaseOut;

    std::shared_ptr<ui::Window> keyWindow() { return ui::Application::shared().keyWindow(); }
} // namespace

MediaFocusViewController::MediaFocusViewController() = default;

MediaFocusViewController::~MediaFocusViewController() { cancelURLConnectionIfAny(); }

void MediaFocusViewController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::viewDidLoad();
    setup();
}

void MediaFocusViewController::setup()
{
    auto self = ui::sharedFrom(this);
    const auto& view = this->view();
    auto window = keyWindow();
    gfx::Rect windowBounds = window ? window->bounds() : ui::Screen::main().bounds();
    view->setFrame(windowBounds);

    m_backgroundView = std::make_shared<ui::View>(gfx::Rect { 0, 0, windowBounds.width(), windowBounds.height() });
    m_backgroundView->setBackgroundColor(gfx::Color::fromWhite(0, 0.6));
    m_backgroundView->setAlpha(0);
    m_backgroundView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    view->addSubview(m_backgroundView);

    m_scrollView = std::make_shared<ui::ScrollView>(view->bounds());
    m_scrollView->setBackgroundColor(gfx::Color::clear());
    m_scrollView->setDelegate(std::static_pointer_cast<ui::ScrollViewDelegate>(self));
    m_scrollView->setShowsHorizontalScrollIndicator(false);
    m_scrollView->setShowsVerticalScrollIndicator(false);
    m_scrollView->setScrollEnabled(false);
    view->addSubview(m_scrollView);

    m_imageView = std::make_shared<ui::ImageView>(gfx::Rect { 0, 0, 50, 50 });
    m_imageView->setContentMode(ui::ContentMode::ScaleAspectFit);
    m_imageView->setAlpha(0);
    m_imageView->setUserInteractionEnabled(true);
    m_scrollView->addSubview(m_imageView);

    std::weak_ptr<MediaFocusViewController> weak = self;
    std::weak_ptr<ui::GestureRecognizerDelegate> recognizerDelegate = self;
    m_panRecognizer = std::make_shared<ui::PanGestureRecognizer>([weak](ui::GestureRecognizer& g) {
        if (auto viewer = weak.lock())
            viewer->handlePanGesture(static_cast<ui::PanGestureRecognizer&>(g));
    });
    m_panRecognizer->setDelegate(recognizerDelegate);
    m_imageView->addGestureRecognizer(m_panRecognizer);
    m_doubleTapRecognizer = std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer& g) {
        if (auto viewer = weak.lock())
            viewer->handleDoubleTapGesture(static_cast<ui::TapGestureRecognizer&>(g));
    });
    m_doubleTapRecognizer->setDelegate(recognizerDelegate);
    m_doubleTapRecognizer->setNumberOfTapsRequired(2);
    m_imageView->addGestureRecognizer(m_doubleTapRecognizer);
    m_tapRecognizer = std::make_shared<ui::TapGestureRecognizer>([weak](ui::GestureRecognizer& g) {
        if (auto viewer = weak.lock())
            viewer->handleDismissFromTap(static_cast<ui::TapGestureRecognizer&>(g));
    });
    m_tapRecognizer->setDelegate(recognizerDelegate);
    m_tapRecognizer->requireGestureRecognizerToFail(m_doubleTapRecognizer);
    view->addGestureRecognizer(m_tapRecognizer);

    m_animator = std::make_shared<ui::DynamicAnimator>(view);
    m_animator->setDelegate(std::static_pointer_cast<ui::DynamicAnimatorDelegate>(self));
    m_snapBehavior = std::make_shared<ui::SnapBehavior>(m_imageView, view->center());
    m_snapBehavior->setDamping(1.0);
    m_pushBehavior = std::make_shared<ui::PushBehavior>(
        std::vector<std::shared_ptr<ui::View>> { m_imageView }, ui::PushBehaviorMode::Instantaneous);
    m_pushBehavior->setAngle(0);
    m_pushBehavior->setMagnitude(0);
    m_itemBehavior = std::make_shared<ui::DynamicItemBehavior>(std::vector<std::shared_ptr<ui::View>> { m_imageView });
    m_itemBehavior->setElasticity(0);
    m_itemBehavior->setFriction(0.2);
    m_itemBehavior->setAllowsRotation(true);
    m_itemBehavior->setDensity(1.0);
    m_itemBehavior->setResistance(0);
}

gfx::Rect MediaFocusViewController::sourceFrame() const
{
    if (!m_fromView)
        return {};
    return m_imageView->superview()->convertRectFrom(m_fromView->bounds(), m_fromView.get());
}

void MediaFocusViewController::showImage(
    std::shared_ptr<gfx::Image> image, std::shared_ptr<ui::View> fromView, std::shared_ptr<ui::ViewController> host)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!image || image->size().width <= 0 || image->size().height <= 0)
        return;
    const auto& view = this->view();
    m_fromView = std::move(fromView);
    m_targetViewController = host;
    m_imageView->setTransform(gfx::AffineTransform::identity());
    m_imageView->setImage(image);
    m_imageView->setAlpha(0.2);

    if (m_parallaxEnabled) {
        createViewsForParallax();
        auto& application = ui::Application::shared();
        m_hidStatusBar = !application.isStatusBarHidden();
        application.setStatusBarHidden(true, ui::StatusBarAnimation::None);
    }

    gfx::Size size = image->size();
    m_scrollView->setContentSize(size);
    gfx::Size frame = m_scrollView->frame().size;
    double fit = std::min(frame.width / size.width, frame.height / size.height);
    gfx::Rect bounds = view->bounds();
    double width = size.width * fit;
    double height = size.height * fit;
    m_fitFrame = { bounds.midX() - width * 0.5, bounds.midY() - height * 0.5, width, height };

    m_imageView->setFrame(sourceFrame());
    if (fit >= 1) {
        m_scrollView->setMinimumZoomScale(1 / fit);
        m_scrollView->setMaximumZoomScale(1);
    } else {
        m_scrollView->setMinimumZoomScale(1);
        m_scrollView->setMaximumZoomScale(1 / fit);
    }
    attach();

    auto self = ui::sharedFrom(this);
    ui::View::animateWithDuration(
        showDuration, 0, easeOut,
        [&] {
            m_backgroundView->setAlpha(1);
            m_imageView->setAlpha(1);
            m_imageView->setFrame(m_fitFrame);
            auto shrink = gfx::AffineTransform::makeScale(backgroundScale, backgroundScale);
            if (m_blurredSnapshotView) {
                m_blurredSnapshotView->setAlpha(1);
                m_blurredSnapshotView->setTransform(shrink);
            }
            if (m_snapshotView)
                m_snapshotView->setTransform(shrink);
        },
        [self](bool) {
            if (auto host = self->m_targetViewController.lock())
                self->didMoveToParentViewController(host);
            if (auto delegate = self->delegate())
                delegate->mediaFocusViewControllerDidAppear(*self);
        });
}

void MediaFocusViewController::attach()
{
    auto self = ui::sharedFrom(this);
    const auto& view = this->view();
    if (auto host = m_targetViewController.lock()) {
        host->view()->setTintAdjustmentMode(ui::TintAdjustmentMode::Dimmed);
        host->addChildViewController(self);
        host->view()->addSubview(view);
    } else if (auto window = keyWindow()) {
        window->setTintAdjustmentMode(ui::TintAdjustmentMode::Dimmed);
        window->addSubview(view);
    }
    if (m_snapshotView && view->superview()) {
        auto parent = view->superview();
        parent->insertSubviewBelow(m_snapshotView, view.get());
        if (m_blurredSnapshotView)
            parent->insertSubviewAbove(m_blurredSnapshotView, m_snapshotView.get());
    }
}

void MediaFocusViewController::createViewsForParallax()
{
    auto window = keyWindow();
    if (!window)
        return;
    double scale = ui::Screen::main().scale();
    gfx::Size windowSize = window->frame().size;
    gfx::Rect containerFrame { 0, 0, windowSize.width * containerGrowth, windowSize.height * containerGrowth };
    m_snapshotView = std::make_shared<ui::View>(containerFrame.integral());
    m_snapshotView->setBackgroundColor(gfx::Color::black());

    auto windowPicture = std::make_shared<ui::ImageView>(snapshotImageWithScale(*window, scale));
    windowPicture->setCenter(m_snapshotView->bounds().center());
    m_snapshotView->addSubview(windowPicture);
    m_snapshotView->setCenter(window->center());

    m_blurredSnapshotView.reset();
    if (!m_shouldBlurBackground)
        return;
    auto picture = snapshotImageWithScale(*m_snapshotView, scale);
    auto blurred = picture ? applyBlurWithRadius(
                       *picture, backgroundBlurRadius, gfx::Color::fromWhite(0, 0.2), backgroundSaturation, nullptr)
                           : nullptr;
    auto blurredView = std::make_shared<ui::ImageView>(blurred);
    blurredView->setCenter(m_snapshotView->center());
    blurredView->setAlpha(0);
    blurredView->setUserInteractionEnabled(false);
    m_blurredSnapshotView = blurredView;
}

void MediaFocusViewController::dismiss(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (animated) {
        dismissToTargetView();
        return;
    }
    m_backgroundView->setAlpha(0);
    m_imageView->setAlpha(0);
    cleanup();
}

void MediaFocusViewController::dismissToTargetView()
{
    auto self = ui::sharedFrom(this);
    hideSnapshotView();
    ui::View::animateWithDuration(
        showDuration, 0, easeOut,
        [&] {
            m_imageView->setFrame(sourceFrame());
            m_backgroundView->setAlpha(0);
        },
        [self](bool) { self->cleanup(); });
    ui::View::animateWithDuration(imageFadeDuration, imageFadeDelay, easeOut, [&] { m_imageView->setAlpha(0); });
}

void MediaFocusViewController::dismissAfterPush()
{
    auto self = ui::sharedFrom(this);
    hideSnapshotView();
    ui::View::animateWithDuration(
        showDuration, 0, easeOut, [&] { m_backgroundView->setAlpha(0); }, [self](bool) { self->cleanup(); });
}

void MediaFocusViewController::hideSnapshotView()
{
    if (m_hidStatusBar) {
        ui::Application::shared().setStatusBarHidden(false, ui::StatusBarAnimation::None);
        m_hidStatusBar = false;
    }
    auto snapshot = m_snapshotView;
    auto blurred = m_blurredSnapshotView;
    if (!snapshot && !blurred)
        return;
    auto self = ui::sharedFrom(this);
    ui::View::animateWithDuration(
        showDuration, 0, easeOut,
        [&] {
            if (blurred) {
                blurred->setAlpha(0);
                blurred->setTransform(gfx::AffineTransform::identity());
            }
            if (snapshot)
                snapshot->setTransform(gfx::AffineTransform::identity());
        },
        [self, snapshot, blurred](bool) {
            if (blurred)
                blurred->removeFromSuperview();
            if (snapshot)
                snapshot->removeFromSuperview();
            if (self->m_snapshotView == snapshot)
                self->m_snapshotView.reset();
            if (self->m_blurredSnapshotView == blurred)
                self->m_blurredSnapshotView.reset();
        });
}

void MediaFocusViewController::cleanup()
{
    auto self = ui::sharedFrom(this);
    view()->removeFromSuperview();
    if (auto host = m_targetViewController.lock()) {
        host->view()->setTintAdjustmentMode(ui::TintAdjustmentMode::Automatic);
        willMoveToParentViewController(nullptr);
        removeFromParentViewController();
    } else if (auto window = keyWindow()) {
        window->setTintAdjustmentMode(ui::TintAdjustmentMode::Automatic);
    }
    m_animator->removeAllBehaviors();
    if (auto delegate = this->delegate())
        delegate->mediaFocusViewControllerDidDisappear(*this);
}

void MediaFocusViewController::centerScrollViewContents()
{
    gfx::Size frame = m_scrollView->frame().size;
    gfx::Size content = m_scrollView->contentSize();
    double horizontal = frame.width > content.width ? (frame.width - content.width) * 0.5 : 0;
    double vertical = frame.height > content.height ? (frame.height - content.height) * 0.5 : 0;
    m_imageView->setCenter({ content.width * 0.5 + horizontal, content.height * 0.5 + vertical });
}

void MediaFocusViewController::returnToCenter()
{
    m_animator->removeAllBehaviors();
    ui::View::animateWithDuration(returnDuration, 0, easeOut, [&] {
        m_imageView->setTransform(gfx::AffineTransform::identity());
        m_imageView->setFrame(m_fitFrame);
    });
}

void MediaFocusViewController::adjustFrame()
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect bounds = view()->bounds();
    gfx::Rect frame = m_imageView->frame();
    auto place
        = [](double origin, double length, double min, double max, double viewLength, double viewMid, double centre) {
              if (length > viewLength) {
                  if (min > 0)
                      return 0.0;
                  if (max < viewLength)
                      return viewLength - length;
                  return origin;
              }
              return centre == viewMid ? origin : viewMid - length * 0.5;
          };
    double x = place(frame.origin.x, frame.width(), frame.minX(), frame.maxX(), bounds.width(), bounds.midX(),
        m_imageView->center().x);
    double y = place(frame.origin.y, frame.height(), frame.minY(), frame.maxY(), bounds.height(), bounds.midY(),
        m_imageView->center().y);
    ui::View::animateWithDuration(adjustDuration, 0, easeOut, [&] {
        m_imageView->setFrame({ x, y, frame.width(), frame.height() });
    });
}

} // namespace kit
