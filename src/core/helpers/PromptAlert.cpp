#include "core/helpers/PromptAlert.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "ui/alerts/AlertView.h"

namespace core {

namespace {

    void showAlert(std::optional<std::string> title, std::string_view messageKey)
    {
        BASE_ASSERT_MAIN_THREAD();
        auto alert = std::make_shared<ui::AlertView>(std::move(title), base::localized(messageKey),
            std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"));
        alert->show();
    }

} // namespace

void showPromptAlert(std::string_view messageKey) { showAlert(base::localized("prompt"), messageKey); }

void showUntitledAlert(std::string_view messageKey) { showAlert(std::nullopt, messageKey); }

} // namespace core
