// settings::ImageAnimate: the home screen's family-number button and the fan of four number buttons
// (BtnModel: father, mother, SOS, listen) it opens. The button itself is placed by its owner; the four
// small buttons live in the host view given at creation, hidden at their resting frame (40 x 40, centred
// at the bottom of the screen). TapAnimation fans them out in 0.5 s (three of them, without listen, for a
// stored current device of type 43 or 44); HiddenAllView folds them back in 0.8 s, fading, and hides them
// once the fold has finished. Main thread; made with make().
//
//   auto fan = settings::ImageAnimate::make(homeView);
//   bottomBar->addSubview(fan);
//   fan->TapAnimation();
#pragma once

#include "gfx/geometry/Rect.h"
#include "ui/controls/Button.h"

#include <array>
#include <memory>

namespace settings {

class BtnModel;

class ImageAnimate : public ui::Button {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr double openDuration = 0.5;
    static constexpr double foldDuration = 0.8;

    static std::shared_ptr<ImageAnimate> make(const std::shared_ptr<ui::View>& host);
    explicit ImageAnimate(Private);

    const std::shared_ptr<BtnModel>& btnone() const { return m_buttons[0]; }
    const std::shared_ptr<BtnModel>& btntwo() const { return m_buttons[1]; }
    const std::shared_ptr<BtnModel>& btnthree() const { return m_buttons[2]; }
    const std::shared_ptr<BtnModel>& btnfour() const { return m_buttons[3]; }
    const gfx::Rect& oldframe() const { return m_oldframe; }

    void TapAnimation();
    void HiddenAllView();
    // The four buttons' alpha: 1 for true, 0 for false.
    void visibility(bool visible);

private:
    std::array<std::shared_ptr<BtnModel>, 4> m_buttons;
    gfx::Rect m_oldframe;
};

} // namespace settings
