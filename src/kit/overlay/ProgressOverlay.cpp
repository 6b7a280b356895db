#include "kit/overlay/ProgressOverlay.h"

#include "base/loop/Dispatch.h"
#include "base/loop/MainThread.h"
#include "base/values/Exception.h"
#include "kit/overlay/ProgressOverlayBackdrop.h"
#include "kit/progress/RoundProgressView.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/controls/Label.h"
#include "ui/view/Window.h"

namespace kit {

namespace {
    constexpr double fadeDuration = 0.3;
    // What an animated hide fades to; done() then takes the alpha to 0.
    constexpr double hidingAlpha = 0.02;
}

std::shared_ptr<ProgressOverlay> ProgressOverlay::make(const gfx::Rect& frame)
{
    auto overlay = std::make_shared<ProgressOverlay>(Private(), frame);
    // The backdrop and the indicator are subviews, which need the overlay's shared handle.
    overlay->addSubview(overlay->m_backdrop);
    overlay->updateIndicators();
    return overlay;
}

ProgressOverlay::ProgressOverlay(Private, const gfx::Rect& frame)
    : ui::View(frame)
{
    setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleRightMargin
        | ui::AutoresizingMask::FlexibleTopMargin | ui::AutoresizingMask::FlexibleBottomMargin);
    setOpaque(false);
    setBackgroundColor(gfx::Color::clear());
    setAlpha(0);
    m_label = std::make_shared<ui::Label>(bounds());
    m_detailsLabel = std::make_shared<ui::Label>(bounds());
    m_backdrop = std::make_shared<ProgressOverlayBackdrop>();
}

ProgressOverlay::~ProgressOverlay() { invalidateTimers(); }

std::shared_ptr<ProgressOverlay> ProgressOverlay::makeForView(const std::shared_ptr<ui::View>& view)
{
    if (!view)
        throw base::Exception(viewIsNilException, "The view used in the ProgressOverlay initializer is nil.");
    auto overlay = make(view->bounds());
    if (std::dynamic_pointer_cast<ui::Window>(view))
        overlay->setTransformForCurrentOrientation(false);
    return overlay;
}

std::shared_ptr<ProgressOverlay> ProgressOverlay::makeForWindow(const std::shared_ptr<ui::Window>& window)
{
    return makeForView(window);
}

std::shared_ptr<ProgressOverlay> ProgressOverlay::showHUDAddedTo(const std::shared_ptr<ui::View>& view, bool animated)
{
    auto overlay = makeForView(view);
    view->addSubview(overlay);
    overlay->show(animated);
    return overlay;
}

bool ProgressOverlay::hideHUDForView(const std::shared_ptr<ui::View>& view, bool animated)
{
    std::shared_ptr<ProgressOverlay> last;
    for (const auto& subview : view->subviews()) {
        if (auto overlay = std::dynamic_pointer_cast<ProgressOverlay>(subview))
            last = overlay;
    }
    if (!last)
        return false;
    last->setRemoveFromSuperViewOnHide(true);
    last->hide(animated);
    return true;
}

void ProgressOverlay::onMainThread(std::function<void(ProgressOverlay&)> work)
{
    if (base::isMainThread()) {
        work(*this);
        return;
    }
    base::RunLoop::main().post([self = ui::sharedFrom(this), work = std::move(work)] { work(*self); });
}

void ProgressOverlay::setMode(ProgressOverlayMode mode)
{
    ProgressOverlayMode current = m_mode.load();
    if (current != ProgressOverlayMode::Indeterminate && current == mode)
        return;
    m_mode.store(mode);
    onMainThread([](ProgressOverlay& self) {
        self.updateIndicators();
        self.setNeedsLayout();
        self.setNeedsDisplay();
    });
}

void ProgressOverlay::setLabelText(std::optional<std::string> text)
{
    onMainThread([text = std::move(text)](ProgressOverlay& self) {
        self.m_labelText = text;
        self.setNeedsLayout();
        self.setNeedsDisplay();
    });
}

void ProgressOverlay::setDetailsLabelText(std::optional<std::string> text)
{
    onMainThread([text = std::move(text)](ProgressOverlay& self) {
        self.m_detailsLabelText = text;
        self.setNeedsLayout();
        self.setNeedsDisplay();
    });
}

void ProgressOverlay::setProgress(float progress)
{
    m_progress.store(progress);
    if (m_mode.load() != ProgressOverlayMode::Determinate)
        return;
    onMainThread([](ProgressOverlay& self) {
        self.updateProgress();
        self.setNeedsDisplay();
    });
}

void ProgressOverlay::updateProgress()
{
    if (auto pie = std::dynamic_pointer_cast<RoundProgressView>(m_indicator))
        pie->setProgress(m_progress.load());
}

void ProgressOverlay::updateIndicators()
{
    if (m_indicator)
        m_indicator->removeFromSuperview();
    ProgressOverlayMode mode = m_mode.load();
    if (mode == ProgressOverlayMode::CustomView && m_customView) {
        m_indicator = m_customView;
    } else if (mode == ProgressOverlayMode::Determinate) {
        m_indicator = std::make_shared<RoundProgressView>();
    } else {
        auto spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
        spinner->startAnimating();
        m_indicator = spinner;
    }
    addSubview(m_indicator);
}

void ProgressOverlay::setTransformForCurrentOrientation(bool animated)
{
    if (auto host = superview()) {
        setBounds(host->bounds());
        setNeedsDisplay();
    }
    // The application runs in portrait only: no rotation.
    m_rotationTransform = gfx::AffineTransform::identity();
    if (animated)
        ui::View::animateWithDuration(0.2, [this] { setTransform(m_rotationTransform); });
    else
        setTransform(m_rotationTransform);
}

void ProgressOverlay::show(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    // A show starts afresh: a hide still pending belonged to the show before.
    invalidateTimers();
    ++m_showCount;
    m_shown = true;
    m_hiding = false;
    m_useAnimation = animated;
    if (m_graceTime > 0) {
        m_graceTimer = base::Timer::scheduled(base::Duration(m_graceTime), false,
            [self = ui::sharedFrom(this)](base::Timer&) { self->handleGraceTimer(); });
        return;
    }
    setNeedsLayout();
    showUsingAnimation(m_useAnimation);
}

void ProgressOverlay::handleGraceTimer()
{
    m_graceTimer.reset();
    if (!m_taskInProgress)
        return;
    setNeedsLayout();
    showUsingAnimation(m_useAnimation);
}

void ProgressOverlay::hide(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_shown || m_hiding)
        return;
    m_useAnimation = animated;
    if (m_graceTimer) {
        m_graceTimer->invalidate();
        m_graceTimer.reset();
    }
    m_hiding = true;
    if (m_minShowTime > 0 && m_showStarted) {
        double elapsed = base::Duration(base::Clock::current()->now() - *m_showStarted).count();
        if (elapsed < m_minShowTime) {
            m_minShowTimer = base::Timer::scheduled(base::Duration(m_minShowTime - elapsed), false,
                [self = ui::sharedFrom(this)](base::Timer&) { self->handleMinShowTimer(); });
            return;
        }
    }
    hideUsingAnimation(m_useAnimation);
}

void ProgressOverlay::hide(bool animated, double delay)
{
    base::RunLoop::main().performAfter(
        base::Duration(delay), [self = ui::sharedFrom(this), animated] { self->hide(animated); }, this);
}

void ProgressOverlay::handleMinShowTimer()
{
    m_minShowTimer.reset();
    hideUsingAnimation(m_useAnimation);
}

void ProgressOverlay::showUsingAnimation(bool animated)
{
    setAlpha(0);
    bool zoom = m_animationType == ProgressOverlayAnimation::Zoom;
    if (animated && zoom)
        setTransform(gfx::AffineTransform::concat(m_rotationTransform, gfx::AffineTransform::makeScale(1.5, 1.5)));
    m_showStarted = base::Clock::current()->now();
    if (!animated) {
        setAlpha(1.0);
        return;
    }
    ui::View::animateWithDuration(fadeDuration, [this, zoom] {
        setAlpha(1.0);
        if (zoom)
            setTransform(m_rotationTransform);
    });
}

void ProgressOverlay::hideUsingAnimation(bool animated)
{
    if (!animated) {
        setAlpha(0);
        done();
        return;
    }
    ui::View::animateWithDuration(
        fadeDuration,
        [this] {
            if (m_animationType == ProgressOverlayAnimation::Zoom)
                setTransform(
                    gfx::AffineTransform::concat(m_rotationTransform, gfx::AffineTransform::makeScale(0.5, 0.5)));
            setAlpha(hidingAlpha);
        },
        [self = ui::sharedFrom(this), show = m_showCount](bool) {
            // A show that came meanwhile has its own hide to wait for.
            if (self->m_showCount == show && self->m_hiding)
                self->done();
        });
}

void ProgressOverlay::done()
{
    invalidateTimers();
    base::RunLoop::main().cancelPerforms(this);
    m_shown = false;
    m_hiding = false;
    m_finished = true;
    setAlpha(0);
    if (auto delegate = m_delegate.lock()) {
        if (delegate->implementsHudWasHiddenWithOverlay())
            delegate->hudWasHidden(*this);
        else if (delegate->implementsHudWasHidden())
            delegate->hudWasHidden();
    }
    if (m_removeFromSuperViewOnHide)
        removeFromSuperview();
}

void ProgressOverlay::invalidateTimers()
{
    for (auto* timer : { &m_graceTimer, &m_minShowTimer }) {
        if (*timer)
            (*timer)->invalidate();
        timer->reset();
    }
}

void ProgressOverlay::showWhileExecuting(std::function<void()> task, bool animated)
{
    m_taskInProgress = true;
    // The overlay goes back to the main thread with the clean-up, so that it is never released here.
    base::detachNewThread([self = ui::sharedFrom(this), task = std::move(task)]() mutable {
        if (task)
            task();
        base::RunLoop::main().post([self = std::move(self)] { self->cleanUp(); });
    });
    show(animated);
}

void ProgressOverlay::cleanUp()
{
    m_taskInProgress = false;
    m_indicator.reset();
    hide(m_useAnimation);
}

} // namespace kit
