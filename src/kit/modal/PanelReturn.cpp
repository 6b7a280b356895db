#include "kit/modal/PanelReturn.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Button.h"
#include "ui/controls/TextField.h"

#include <algorithm>

namespace kit {

bool returnInPanel(ui::TextField& field, const std::vector<std::shared_ptr<ui::TextField>>& fields,
    const std::shared_ptr<ui::Button>& confirm)
{
    BASE_ASSERT_MAIN_THREAD();
    auto at = std::find_if(fields.begin(), fields.end(), [&](const auto& each) { return each.get() == &field; });
    if (at == fields.end())
        return false;
    if (std::next(at) != fields.end()) {
        (void)(*std::next(at))->becomeFirstResponder(); // a field that refuses keeps the caret where it is
        return false;
    }
    if (confirm && confirm->isEnabled() && !confirm->isHidden())
        confirm->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    return false;
}

} // namespace kit
