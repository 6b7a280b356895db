#include "settings/numbers/NumberAlerts.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "core/helpers/PromptAlert.h"
#include "ui/alerts/AlertView.h"

namespace settings {

void showNumberServerText(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    auto alert = std::make_shared<ui::AlertView>(
        base::localized("prompt"), text, std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"));
    alert->show();
}

void showNumberAlert(std::string_view messageKey) { core::showPromptAlert(messageKey); }

} // namespace settings
