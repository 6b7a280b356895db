#include "kit/floating/FloatingController.h"

#include "base/loop/MainThread.h"
#include "kit/floating/FloatingNavigationBar.h"
#include "kit/support/PathCreateRoundedRect.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <cmath>

namespace kit {

namespace {

    // The frame's side margins around the content, and its bottom margin.
    constexpr double contentInset = 5;

} // namespace

const std::shared_ptr<FloatingController>& FloatingController::sharedFloatingController()
{
    BASE_ASSERT_MAIN_THREAD();
    static const std::shared_ptr<FloatingController> shared = std::make_shared<FloatingController>();
    return shared;
}

FloatingController::FloatingController()
{
    BASE_ASSERT_MAIN_THREAD();
    setFrameSize(defaultFrameSize);
    setFrameColor(defaultFrameColor());
}

gfx::Size FloatingController::frameSize() { return frameView()->frame().size; }

void FloatingController::setFrameSize(gfx::Size size)
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& frame = frameView();
    frame->setFrame({ frame->frame().origin, size });
}

std::optional<gfx::Color> FloatingController::frameColor() { return frameView()->baseColor(); }

void FloatingController::setFrameColor(gfx::Color color)
{
    BASE_ASSERT_MAIN_THREAD();
    frameView()->setBaseColor(color);
    contentOverlayView()->setEdgeColor(color);
    floatingNavigationController()->navigationBar()->setTintColor(color);
}

const std::shared_ptr<ui::Control>& FloatingController::maskControl()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_maskControl) {
        m_maskControl = std::make_shared<ui::Control>();
        m_maskControl->setBackgroundColor(gfx::Color::fromWhite(0, 0.5));
        m_maskControl->addAction(
            [weak = ui::weakFrom(this)](ui::Control&) {
                if (auto self = weak.lock())
                    self->maskControlDidTouchUpInside();
            },
            ui::ControlEvent::TouchUpInside, this);
    }
    return m_maskControl;
}

const std::shared_ptr<FloatingFrameView>& FloatingController::frameView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_frameView) {
        m_frameView = std::make_shared<FloatingFrameView>();
        const auto& layer = m_frameView->layer();
        layer->setShadowColor(gfx::Color::black());
        layer->setShadowOffset({ 0, 2 });
        layer->setShadowOpacity(0.7f);
        layer->setShadowRadius(10);
    }
    return m_frameView;
}

const std::shared_ptr<ui::View>& FloatingController::contentView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_contentView) {
        m_contentView = std::make_shared<ui::View>();
        m_contentView->setClipsToBounds(true);
    }
    return m_contentView;
}

const std::shared_ptr<FloatingContentOverlayView>& FloatingController::contentOverlayView()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_contentOverlayView) {
        m_contentOverlayView = std::make_shared<FloatingContentOverlayView>();
        m_contentOverlayView->setUserInteractionEnabled(false);
    }
    return m_contentOverlayView;
}

const std::shared_ptr<ui::NavigationController>& FloatingController::floatingNavigationController()
{
    BASE_ASSERT_MAIN_THREAD();
    if (!m_navigationController) {
        m_navigationController = std::make_shared<ui::NavigationController>(std::make_shared<FloatingNavigationBar>());
        m_navigationController->setViewControllers({ std::make_shared<ui::ViewController>() });
    }
    return m_navigationController;
}

void FloatingController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& root = view();
    root->setBackgroundColor(gfx::Color::clear());
    const auto& mask = maskControl();
    mask->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    mask->setFrame({ 0, 0, root->frame().width(), root->frame().height() });
    root->addSubview(mask);
    root->addSubview(frameView());
    frameView()->addSubview(contentView());
    contentView()->addSubview(floatingNavigationController()->view());
    frameView()->addSubview(contentOverlayView());
}

bool FloatingController::isPresented()
{
    BASE_ASSERT_MAIN_THREAD();
    std::lock_guard lock(m_presentedLock);
    return m_presented;
}

void FloatingController::presentWithContentViewController(
    const std::shared_ptr<ui::ViewController>& content, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    {
        std::lock_guard lock(m_presentedLock);
        if (m_presented)
            return;
        m_presented = true;
    }
    const auto& root = view();
    root->setAlpha(0);
    if (content != m_contentViewController) {
        if (m_contentViewController && m_contentViewController->isViewLoaded())
            m_contentViewController->view()->removeFromSuperview();
        m_contentViewController = content;
        std::vector<std::shared_ptr<ui::ViewController>> stack;
        if (content)
            stack.push_back(content);
        floatingNavigationController()->setViewControllers(std::move(stack));
    }

    auto window = ui::Application::shared().keyWindow();
    if (!window) {
        // Nothing to show the panel in: it stays closed, so that a later present can show it.
        std::lock_guard lock(m_presentedLock);
        m_presented = false;
        return;
    }
    root->setFrame(window->convertRectFrom(ui::Screen::main().applicationFrame(), nullptr));
    window->addSubview(root);
    layoutFrameView();
    ui::View::animateWithDuration(animated ? fadeDuration : 0, [&root] { root->setAlpha(1); });
}

void FloatingController::dismissAnimated(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    uint64_t dismissal = ++m_dismissals;
    const auto& root = view();
    ui::View::animateWithDuration(
        animated ? fadeDuration : 0, [&root] { root->setAlpha(0); },
        // Cut short or not, the latest dismissal closes the panel; an earlier one that a later one interrupted
        // leaves it to that one.
        [weak = ui::weakFrom(this), dismissal](bool) {
            auto self = weak.lock();
            if (!self || dismissal != self->m_dismissals)
                return;
            self->view()->removeFromSuperview();
            std::lock_guard lock(self->m_presentedLock);
            self->m_presented = false;
        });
}

void FloatingController::layoutFrameView()
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Size viewSize = view()->frame().size;
    gfx::Size size = frameSize();
    const auto& bar = floatingNavigationController()->navigationBar();
    double barHeight = bar->frame().height();
    double edge = FloatingContentOverlayView::frameWidth();
    double innerWidth = size.width - 2 * contentInset;
    double innerHeight = size.height - contentInset;

    frameView()->setFrame({ std::ceil((viewSize.width - size.width) * 0.5),
        std::ceil((viewSize.height - size.height) * 0.5), size.width, size.height });
    contentView()->setFrame({ contentInset, 0, innerWidth, innerHeight });
    floatingNavigationController()->view()->setFrame({ 0, 0, innerWidth, innerHeight });
    bar->setFrame({ 0, 0, innerWidth, barHeight });
    contentOverlayView()->setFrame(
        { contentInset - edge, barHeight - edge, innerWidth + 2 * edge, innerHeight - barHeight + 2 * edge });
    frameView()->bringSubviewToFront(contentOverlayView().get());
    double r = frameView()->cornerRadius();
    frameView()->layer()->setShadowPath(pathCreateRoundedRect(0, 0, size.width, size.height, r, r, r, r));
}

void FloatingController::maskControlDidTouchUpInside() { dismissAnimated(true); }

} // namespace kit
