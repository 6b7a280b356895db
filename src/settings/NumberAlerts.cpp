#include "settings/NumberAlerts.h"

#include "base/Localization.h"
#include "base/MainThread.h"
#include "core/PromptAlert.h"
#include "ui/AlertView.h"

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
