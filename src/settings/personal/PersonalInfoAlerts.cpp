#include "settings/personal/PersonalInfoAlerts.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"

namespace settings {

namespace {

    void show(std::optional<std::string> title, std::string_view messageKey,
        std::weak_ptr<ui::AlertViewDelegate> delegate, int tag)
    {
        auto alert = std::make_shared<ui::AlertView>(
            std::move(title), base::localized(messageKey), std::move(delegate), base::localized("done"));
        alert->setTag(tag);
        alert->show();
    }

} // namespace

void PersonalInfoAlerts::prompt(std::string_view messageKey, std::weak_ptr<ui::AlertViewDelegate> delegate, int tag)
{
    BASE_ASSERT_MAIN_THREAD();
    show(base::localized("prompt"), messageKey, std::move(delegate), tag);
}

void PersonalInfoAlerts::untitled(std::string_view messageKey) { show(std::nullopt, messageKey, {}, 0); }

void PersonalInfoAlerts::titled(std::string_view titleKey, std::string_view messageKey)
{
    BASE_ASSERT_MAIN_THREAD();
    show(base::localized(titleKey), messageKey, {}, 0);
}

} // namespace settings
