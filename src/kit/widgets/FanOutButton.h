// kit::FanOutButton: a round centre button that fans three smaller buttons out above it (up-left, straight up
// and up-right, 80 points away) on a spring and folds them back; each reports its index to the delegate. The
// centre shows a small "add" mark that turns slowly and endlessly. The sub-buttons go into the host view given
// at creation (a button made without one fans out into nothing). The owner calls animate() to toggle the fan;
// a tap on a sub-button folds it. Main thread.
//
//   auto add = kit::FanOutButton::makeWithView({ 140, 480, 40, 40 }, screenView);
//   add->setImagesForButtons({ photo, voice, text });
//   add->setDelegate(screen);
//   add->addAction([weak](ui::Control&) { if (auto b = weak.lock()) b->animate(); }, ui::ControlEvent::TouchUpInside);
#pragma once

#include "gfx/images/Image.h"
#include "kit/widgets/FanOutButtonDelegate.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"

#include <array>
#include <memory>
#include <vector>

namespace kit {

class FanOutButton : public ui::Button {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr double radius = 80.0;
    static constexpr double subButtonSide = 40;
    static constexpr double markSide = 15;
    // One quarter turn of the mark takes this long.
    static constexpr double markTurnDuration = 3.0;
    static constexpr double springDuration = 1.7;

    static std::shared_ptr<FanOutButton> make(const gfx::Rect& frame);
    // `host` receives the sub-buttons; it is not kept alive by the button.
    static std::shared_ptr<FanOutButton> makeWithView(const gfx::Rect& frame, const std::shared_ptr<ui::View>& host);
    FanOutButton(Private, const gfx::Rect& frame, std::weak_ptr<ui::View> host);

    // Fans out when folded, folds when fanned out.
    void animate();
    // The sub-buttons' actions: fold, then tell the delegate 1, 2 or 3.
    void button1();
    void button2();
    void button3();
    // The sub-buttons' alpha: 1 for true, 0 for false.
    void visibility(bool visible);
    // The images become the sub-buttons' images in order; missing ones leave their buttons as they are.
    void setImagesForButtons(const std::vector<std::shared_ptr<gfx::Image>>& images);
    void setCenterButtonImage(std::shared_ptr<gfx::Image> image, gfx::Color backgroundColor);

    std::shared_ptr<FanOutButtonDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<FanOutButtonDelegate> delegate) { m_delegate = std::move(delegate); }

    const std::shared_ptr<ui::Button>& b1() const { return m_buttons[0]; }
    const std::shared_ptr<ui::Button>& b2() const { return m_buttons[1]; }
    const std::shared_ptr<ui::Button>& b3() const { return m_buttons[2]; }
    // Where the sub-buttons start from and fold back to.
    gfx::Point centerPoint() const { return m_centerPoint; }
    // The sub-buttons' top-left corners when fanned out.
    const std::array<gfx::Point, 3>& positions() const { return m_positions; }
    bool isTapped() const { return m_tapped; }
    // The round background image of the centre.
    const std::shared_ptr<ui::ImageView>& imageView() const { return m_imageView; }
    // The turning "add" mark.
    const std::shared_ptr<ui::ImageView>& markView() const { return m_markView; }

private:
    void setUpViewHierarchy();
    void moveView(bool out);
    void foldAndReport(int index);

    std::weak_ptr<ui::View> m_host;
    std::array<std::shared_ptr<ui::Button>, 3> m_buttons;
    std::array<gfx::Point, 3> m_positions;
    gfx::Point m_centerPoint;
    bool m_tapped { false };
    std::shared_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ui::ImageView> m_markView;
    std::weak_ptr<FanOutButtonDelegate> m_delegate;
};

} // namespace kit
