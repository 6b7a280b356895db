// kit::ProgressOverlayBackdrop: what a progress overlay draws under its indicator and labels: its rounded black
// box and, when the overlay dims what lies below, the veil around it. Without a veil the view covers only the
// box (its frame is the box's enclosing whole points, so its pixels sit where a drawing of the whole overlay
// would put them): fading the overlay, or a spinner turning on it, then redraws and composites the box's
// pixels instead of the screen's. The overlay keeps it as its bottom subview. Main thread.
//
//   auto backdrop = std::make_shared<kit::ProgressOverlayBackdrop>();
//   overlay->insertSubview(backdrop, 0);
//   backdrop->setLook({ overlay->bounds(), overlay->boxRect(), 0.8f, false });
#pragma once

#include "gfx/geometry/Rect.h"
#include "ui/view/View.h"

namespace kit {

class ProgressOverlayBackdrop : public ui::View {
public:
    struct Look {
        // The overlay's bounds, and its box in them.
        gfx::Rect overlay;
        gfx::Rect box;
        // The box's black alpha.
        float opacity { 0 };
        bool veil { false };
        friend bool operator==(const Look&, const Look&) = default;
    };

    ProgressOverlayBackdrop();

    // Places the view and redraws it when the look changed.
    void setLook(const Look& look);
    const Look& look() const { return m_look; }

    void drawRect(const gfx::Rect& rect) override;

private:
    Look m_look;
};

} // namespace kit
