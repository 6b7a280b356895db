#include "settings/numbers/NumberFieldLift.h"

#include "base/loop/MainThread.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/view/View.h"

#include <algorithm>
#include <cmath>

namespace settings {

NumberFieldLift::Placement NumberFieldLift::fixedAbove(double origin)
{
    BASE_ASSERT_MAIN_THREAD();
    return [origin](const gfx::Rect&, int overlap) { return origin - overlap; };
}

NumberFieldLift::Placement NumberFieldLift::keepBelow(double slack)
{
    BASE_ASSERT_MAIN_THREAD();
    return [slack](const gfx::Rect& saved, int overlap) {
        return std::min(saved.origin.y, saved.origin.y - overlap + slack);
    };
}

int NumberFieldLift::overlapFor(const ui::View& view, const ui::TextField& field)
{
    double reach = field.frame().origin.y + fieldAllowance
        - (view.frame().height() - ui::Keyboard::shared().shownFrame().height());
    return static_cast<int>(std::trunc(reach));
}

void NumberFieldLift::begin(ui::View& view, ui::TextField& field)
{
    field.setReturnKeyType(ui::ReturnKeyType::Done);
    m_savedFrame = view.frame();
    m_lifted = true;
    int overlap = overlapFor(view, field);
    ui::View::beginAnimations("ResizeForKeyboard");
    ui::View::setAnimationDuration(duration);
    if (overlap >= 1) {
        gfx::Rect frame = view.frame();
        view.setFrame({ m_savedFrame.origin.x, m_placement(m_savedFrame, overlap), frame.width(), frame.height() });
    }
    ui::View::commitAnimations();
}

void NumberFieldLift::end(ui::View& view)
{
    if (!m_lifted)
        return;
    m_lifted = false;
    view.setFrame(m_savedFrame);
}

} // namespace settings
