// kit::FloatingController: shows one view controller in a small floating panel over the whole application:
// a half-transparent black mask covers the screen, and a dark rounded frame with a glossy top band holds a
// navigation controller (with a see-through bar) whose only screen is the given content. A tap on the mask
// closes the panel. One shared instance serves the application.
//
// A present while the panel is shown (or still closing) is ignored; without a key window nothing is shown
// and the panel stays closed. The latest dismissal takes the panel out of the window when its fade ends,
// even if it was cut short. Main thread for all view work; the shown flag is guarded by a lock.
//
//   auto details = std::make_shared<DeviceDetailController>(device);
//   kit::FloatingController::sharedFloatingController()->presentWithContentViewController(details, true);
#pragma once

#include "kit/floating/FloatingContentOverlayView.h"
#include "kit/floating/FloatingFrameView.h"
#include "ui/controls/Control.h"
#include "ui/controls/ImageView.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controllers/ViewController.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace kit {

class FloatingController : public ui::ViewController {
public:
    static constexpr gfx::Size defaultFrameSize { 254, 394 };
    static constexpr gfx::Color defaultFrameColor() { return gfx::Color::rgb(0.1f, 0.12f, 0.16f); }
    static constexpr double fadeDuration = 0.3;

    // Made on first call.
    static const std::shared_ptr<FloatingController>& sharedFloatingController();

    FloatingController();

    // The frame view's size (its origin kept).
    gfx::Size frameSize();
    void setFrameSize(gfx::Size size);
    // The frame's body; setting it also colours the overlay's edge and tints the navigation bar.
    [[nodiscard]] std::optional<gfx::Color> frameColor();
    void setFrameColor(gfx::Color color);

    // Each made on first use.
    const std::shared_ptr<ui::Control>& maskControl();
    const std::shared_ptr<FloatingFrameView>& frameView();
    const std::shared_ptr<ui::View>& contentView();
    const std::shared_ptr<FloatingContentOverlayView>& contentOverlayView();
    const std::shared_ptr<ui::NavigationController>& floatingNavigationController();

    // Makes `content` the navigation controller's only screen (the same content keeps its stack), adds the
    // panel to the key window over the application frame and fades it in (0.3 s when animated).
    void presentWithContentViewController(const std::shared_ptr<ui::ViewController>& content, bool animated);
    // Fades the panel out (0.3 s when animated), then takes it out of the window.
    void dismissAnimated(bool animated);
    // Centres the frame in the view and places the content, the bar and the overlay in it.
    void layoutFrameView();
    bool isPresented();

    const std::shared_ptr<ui::ViewController>& contentViewController() const { return m_contentViewController; }
    // Stored for the owner; the panel does not use it.
    const std::shared_ptr<ui::ImageView>& shadowView() const { return m_shadowView; }
    void setShadowView(std::shared_ptr<ui::ImageView> view) { m_shadowView = std::move(view); }

    void viewDidLoad() override;

private:
    void maskControlDidTouchUpInside();

    std::mutex m_presentedLock;
    bool m_presented { false };
    // Counts dismissals, so that only the latest one's end takes the panel away.
    uint64_t m_dismissals { 0 };
    std::shared_ptr<ui::Control> m_maskControl;
    std::shared_ptr<FloatingFrameView> m_frameView;
    std::shared_ptr<ui::View> m_contentView;
    std::shared_ptr<FloatingContentOverlayView> m_contentOverlayView;
    std::shared_ptr<ui::NavigationController> m_navigationController;
    std::shared_ptr<ui::ViewController> m_contentViewController;
    std::shared_ptr<ui::ImageView> m_shadowView;
};

} // namespace kit
