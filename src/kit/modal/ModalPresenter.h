// kit::ModalPresenter: shows one caller-supplied content view as a modal panel, centred in a full-screen
// window of its own over a darkened background, popping in; a tap on the background (when allowed), the
// optional close button or a hide call pops it out and takes the window away. One shared instance serves
// the whole application, and one panel is shown at a time: showing another replaces the one shown (or
// still hiding) at once. Main thread; the appearance and the animated hide run on the next turn of the main
// queue, after the caller's event handling.
//
//   kit::ModalPresenter::sharedInstance()->showWithContentView(timePicker, true);
//   ...
//   kit::ModalPresenter::sharedInstance()->hideAnimated(true);
#pragma once

#include "kit/modal/ModalCloseButton.h"
#include "kit/modal/ModalContainerView.h"
#include "kit/modal/ModalPresenterViewController.h"
#include "ui/view/Window.h"

#include <memory>

namespace kit {

class ModalPresenter : public std::enable_shared_from_this<ModalPresenter> {
public:
    // Made on first call.
    static const std::shared_ptr<ModalPresenter>& sharedInstance();

    ModalPresenter() = default;
    ModalPresenter(const ModalPresenter&) = delete;
    ModalPresenter& operator=(const ModalPresenter&) = delete;

    // Whether a background tap closes the modal (default yes).
    bool tapOutsideToDismiss() const { return m_tapOutsideToDismiss; }
    void setTapOutsideToDismiss(bool dismiss) { m_tapOutsideToDismiss = dismiss; }
    // Whether closing by a tap or the close button animates (default yes).
    bool animateWhenDismissed() const { return m_animateWhenDismissed; }
    void setAnimateWhenDismissed(bool animate) { m_animateWhenDismissed = animate; }
    // The close button at the panel's top-left corner (default hidden).
    bool showCloseButton() const { return m_showCloseButton; }
    void setShowCloseButton(bool show);
    // The background of the modal's window; a change reaches the background shown at once.
    ModalBackgroundStyle backgroundDisplayStyle() const { return m_backgroundDisplayStyle; }
    void setBackgroundDisplayStyle(ModalBackgroundStyle style);

    // The modal's window while it is shown (and hiding); the other parts stay until the next show.
    const std::shared_ptr<ui::Window>& window() const { return m_window; }
    const std::shared_ptr<ModalPresenterViewController>& viewController() const { return m_viewController; }
    const std::shared_ptr<ModalContainerView>& containerView() const { return m_containerView; }
    const std::shared_ptr<ModalCloseButton>& closeButton() const { return m_closeButton; }
    // Stored only: showing does not set it.
    const std::shared_ptr<ui::View>& contentView() const { return m_contentView; }
    void setContentView(std::shared_ptr<ui::View> view) { m_contentView = std::move(view); }

    // The content view keeps its size and sits 17 points inside the container on every side.
    void showWithContentView(const std::shared_ptr<ui::View>& contentView, bool animated = true);
    void closeAction();
    void tapCloseAction();
    void hide() { hideAnimated(true); }
    // Not animated: the window goes at once. Animated: the panel pops out, then the window goes. Nothing shown:
    // nothing happens.
    void hideAnimated(bool animated);
    // Takes the container out of the window and the window off the screen, and stops observing taps.
    void cleanup();

private:
    void appear(const std::shared_ptr<ui::Window>& window, bool animated);
    void disappear(const std::shared_ptr<ui::Window>& window);

    bool m_tapOutsideToDismiss { true };
    bool m_animateWhenDismissed { true };
    bool m_showCloseButton { false };
    ModalBackgroundStyle m_backgroundDisplayStyle { ModalBackgroundStyle::RadialGradient };
    std::shared_ptr<ui::Window> m_window;
    std::shared_ptr<ModalPresenterViewController> m_viewController;
    std::shared_ptr<ModalContainerView> m_containerView;
    std::shared_ptr<ModalCloseButton> m_closeButton;
    std::shared_ptr<ui::View> m_contentView;
    // An animated hide of the window shown is under way.
    bool m_hiding { false };
};

} // namespace kit
