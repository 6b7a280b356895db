// kit::TipAnimationView: a coloured banner with a centred white title that slides into view by its own
// height (down, or up), stays three seconds, slides back and removes itself. It runs from construction;
// the caller adds it to a superview and keeps no reference. A slide that is interrupted stops the banner
// where it is, and it is then never removed by itself. Main thread.
//
//   auto tip = kit::TipAnimationView::makeWithIsToDown({ 0, -34, 320, 34 }, true, "3 devices", green);
//   listView->addSubview(tip);
#pragma once

#include "ui/view/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace kit {

class TipAnimationView : public ui::View {
    struct Private {
        explicit Private() = default;
    };

public:
    // The title in bold 18 points.
    static std::shared_ptr<TipAnimationView> makeWithIsToDown(
        const gfx::Rect& frame, bool isDown, std::string title, gfx::Color backgroundColor);
    // The title in bold 12 points; `isShow` moves the banner down like isDown.
    static std::shared_ptr<TipAnimationView> makeWithIsShow(
        const gfx::Rect& frame, bool isShow, std::string title, gfx::Color backgroundColor);

    TipAnimationView(Private, const gfx::Rect& frame);

    const std::shared_ptr<ui::Label>& lblTitle() const { return m_lblTitle; }
    bool isDown() const { return m_isDown; }

    // Slides in over 0.4 s.
    void start();
    // After 3 s, slides back over 0.4 s.
    void back();
    // The end of the slide named "go" or "back".
    void stop(const std::string& animationName, bool finished);

private:
    static std::shared_ptr<TipAnimationView> make(
        const gfx::Rect& frame, bool isDown, std::string title, gfx::Color backgroundColor, double fontSize);
    void slide(const std::string& name, double delay, bool downwards);

    std::shared_ptr<ui::Label> m_lblTitle;
    bool m_isDown { false };
};

} // namespace kit
