#include "core/helpers/PromptAlert.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "ui/alerts/AlertView.h"

namespace core {

namespace {

    void showAlert(std::optional<std::string> title, std::string message)
    {
        BASE_ASSERT_MAIN_THREAD();
        auto alert = std::make_shared<ui::AlertView>(
            std::move(title), std::move(message), std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"));
        alert->show();
    }

} // namespace

void showPromptAlert(std::string_view messageKey) { showAlert(base::localized("prompt"), base::localized(messageKey)); }

void showPromptAlert(std::string_view messageKey, const std::vector<std::string>& arguments)
{
    std::vector<base::LocalizedFormat::Argument> filled(arguments.begin(), arguments.end());
    showAlert(base::localized("prompt"), base::LocalizedFormat::format(base::localized(messageKey), filled));
}

void showUntitledAlert(std::string_view messageKey) { showAlert(std::nullopt, base::localized(messageKey)); }

} // namespace core
