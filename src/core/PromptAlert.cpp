#include "shell/PromptAlert.h"

#include "base/Localization.h"
#include "ui/AlertView.h"

namespace shell {

void showPromptAlert(std::string_view messageKey)
{
    auto alert = std::make_shared<ui::AlertView>(base::localized("prompt"), base::localized(messageKey),
        std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"));
    alert->show();
}

} // namespace shell
