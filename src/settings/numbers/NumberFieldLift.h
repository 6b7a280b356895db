// settings::NumberFieldLift: moves a number screen's view up while one of its text fields is edited, so that
// the on-screen keyboard (see ui::Keyboard::shownFrame) does not cover the field. When editing begins it saves the
// view's frame and works out how far the field's bottom edge (its frame's y plus 32, in its own superview) reaches
// below the keyboard's top; when that overlap is at least one point the view moves, in a 0.3 s view animation named
// "ResizeForKeyboard", to the vertical origin the screen's placement gives. When editing ends the saved
// frame comes back at once. Main thread.
//
//   m_lift = settings::NumberFieldLift(settings::NumberFieldLift::keepBelow(100));
//   void textFieldDidBeginEditing(ui::TextField& field) override { m_lift.begin(*view(), field); }
//   void textFieldDidEndEditing(ui::TextField&) override { m_lift.end(*view()); }
#pragma once

#include "gfx/geometry/Rect.h"

#include <functional>

namespace ui {
class TextField;
class View;
}

namespace settings {

class NumberFieldLift {
public:
    static constexpr double fieldAllowance = 32;
    static constexpr double duration = 0.3;

    // The view's new vertical origin for the saved frame and an overlap of at least one point.
    using Placement = std::function<double(const gfx::Rect& savedFrame, int overlap)>;

    explicit NumberFieldLift(Placement placement)
        : m_placement(std::move(placement))
    {
    }

    // A fixed origin less the overlap.
    static Placement fixedAbove(double origin);
    // The saved origin less the overlap plus `slack`, but never lower than the saved origin: an overlap
    // smaller than the slack leaves the view where it was rather than moving it toward the keyboard.
    static Placement keepBelow(double slack);

    static int overlapFor(const ui::View& view, const ui::TextField& field);
    void begin(ui::View& view, ui::TextField& field);
    void end(ui::View& view);
    const gfx::Rect& savedFrame() const { return m_savedFrame; }

private:
    Placement m_placement;
    gfx::Rect m_savedFrame;
    bool m_lifted { false };
};

} // namespace settings
