#include "kit/modal/ModalPresenter.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "ui/view/Screen.h"

#include <cmath>

namespace kit {

namespace {
    // Space between the container's edge and the content view.
    constexpr double frameWidth = 17;
    constexpr unsigned stretches = ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight;
    constexpr unsigned keepsCentred = ui::AutoresizingMask::FlexibleLeftMargin
        | ui::AutoresizingMask::FlexibleRightMargin | ui::AutoresizingMask::FlexibleTopMargin
        | ui::AutoresizingMask::FlexibleBottomMargin;

    gfx::AffineTransform scaled(double factor) { return gfx::AffineTransform::makeScale(factor, factor); }
}

const std::shared_ptr<ModalPresenter>& ModalPresenter::sharedInstance()
{
    // Never destroyed: the views it may still hold at exit must not outlive the UI's own statics.
    static const auto* shared = new std::shared_ptr<ModalPresenter>(std::make_shared<ModalPresenter>());
    return *shared;
}

void ModalPresenter::setShowCloseButton(bool show)
{
    if (show == m_showCloseButton)
        return;
    m_showCloseButton = show;
    if (m_closeButton)
        m_closeButton->setHidden(!show);
}

void ModalPresenter::setBackgroundDisplayStyle(ModalBackgroundStyle style)
{
    m_backgroundDisplayStyle = style;
    if (auto background = m_viewController ? m_viewController->styleView() : nullptr)
        background->setStyle(style);
}

void ModalPresenter::showWithContentView(const std::shared_ptr<ui::View>& contentView, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    // One panel at a time: the one shown, or still popping out, goes at once.
    if (m_window)
        cleanup();

    auto window = std::make_shared<ui::Window>(ui::Screen::main().bounds());
    window->setAutoresizingMask(stretches);
    window->setOpaque(false);
    m_window = window;
    m_viewController = std::make_shared<ModalPresenterViewController>();
    window->setRootViewController(m_viewController);

    gfx::Size contentSize = contentView->bounds().size;
    gfx::Size containerSize { contentSize.width + 2 * frameWidth, contentSize.height + 2 * frameWidth };
    gfx::Point center = window->bounds().center();
    m_containerView = std::make_shared<ModalContainerView>(gfx::Rect { std::round(center.x - containerSize.width / 2),
        std::round(center.y - containerSize.height / 2), containerSize.width, containerSize.height });
    m_containerView->setAutoresizingMask(keepsCentred);
    m_containerView->layer()->setRasterizationScale(ui::Screen::main().scale());

    contentView->setFrame({ { frameWidth, frameWidth }, contentView->frame().size });
    m_containerView->addSubview(contentView);
    m_viewController->view()->addSubview(m_containerView);
    if (auto background = m_viewController->styleView())
        background->setStyle(m_backgroundDisplayStyle);

    m_closeButton = ModalCloseButton::make();
    m_closeButton->addAction(
        [weak = weak_from_this()](ui::Control&) {
            if (auto self = weak.lock())
                self->closeAction();
        },
        ui::ControlEvent::TouchUpInside, this);
    m_closeButton->setHidden(!m_showCloseButton);
    m_containerView->addSubview(m_closeButton);

    base::NotificationCenter::defaultCenter().addObserver(
        ModalGradientView::tappedNotification, nullptr,
        [weak = weak_from_this()](const base::Notification&) {
            if (auto self = weak.lock())
                self->tapCloseAction();
        },
        this);

    base::DispatchQueue::main()->async([weak = weak_from_this(), window, animated] {
        if (auto self = weak.lock())
            self->appear(window, animated);
    });
}

void ModalPresenter::appear(const std::shared_ptr<ui::Window>& window, bool animated)
{
    // Hidden (or replaced) before it could appear.
    if (window != m_window)
        return;
    window->setHidden(false);
    if (!animated)
        return;
    if (auto background = m_viewController->styleView()) {
        background->setAlpha(0);
        ui::View::animateWithDuration(0.3, [&background] { background->setAlpha(1); });
    }
    auto container = m_containerView;
    container->setAlpha(0);
    container->layer()->setShouldRasterize(true);
    container->setTransform(scaled(0.4));
    ui::View::animateWithDuration(
        0.2,
        [&container] {
            container->setAlpha(1);
            container->setTransform(scaled(1.1));
        },
        [container](bool) {
            ui::View::animateWithDuration(
                0.1, 0, ui::AnimationOptions::CurveEaseOut,
                [&container] {
                    container->setAlpha(1);
                    container->setTransform(scaled(1.0));
                },
                [container](bool) { container->layer()->setShouldRasterize(false); });
        });
}

void ModalPresenter::closeAction() { hideAnimated(m_animateWhenDismissed); }

void ModalPresenter::tapCloseAction()
{
    if (m_tapOutsideToDismiss)
        hideAnimated(m_animateWhenDismissed);
}

void ModalPresenter::hideAnimated(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_window)
        return;
    if (!animated) {
        cleanup();
        return;
    }
    if (m_hiding)
        return;
    m_hiding = true;
    base::DispatchQueue::main()->async([weak = weak_from_this(), window = m_window] {
        if (auto self = weak.lock())
            self->disappear(window);
    });
}

void ModalPresenter::disappear(const std::shared_ptr<ui::Window>& window)
{
    // Torn down (or replaced) before the hide could start.
    if (window != m_window)
        return;
    if (auto background = m_viewController->styleView())
        ui::View::animateWithDuration(0.3, [&background] { background->setAlpha(0); });
    auto container = m_containerView;
    container->layer()->setShouldRasterize(true);
    // The pop-out ends by cleaning up the window it was started for, only if that is still the one shown.
    auto finish = [weak = weak_from_this(), window](bool) {
        auto self = weak.lock();
        if (self && self->m_window == window)
            self->cleanup();
    };
    ui::View::animateWithDuration(
        0.1, [&container] { container->setTransform(scaled(1.1)); },
        [container, finish](bool) {
            ui::View::animateWithDuration(
                0.2, 0, ui::AnimationOptions::CurveEaseOut,
                [&container] {
                    container->setAlpha(0);
                    container->setTransform(scaled(0.4));
                },
                finish);
        });
}

void ModalPresenter::cleanup()
{
    base::NotificationCenter::defaultCenter().removeObservers(this);
    if (m_containerView)
        m_containerView->removeFromSuperview();
    // The application's window list keeps windows only while someone else does: hidden and dropped, the
    // window leaves the screen and the list.
    if (m_window)
        m_window->setHidden(true);
    m_window.reset();
    m_hiding = false;
}

} // namespace kit
