// core::showPromptAlert: the application's alert for an outcome: titled "prompt", the localised text of a
// message key (its placeholders filled with `arguments` where given), and the one button "done".
// core::showUntitledAlert: the same without a title. Main thread.
//
//   core::showPromptAlert("login_failed");
//   core::showUntitledAlert("setting_success");
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

void showPromptAlert(std::string_view messageKey);
void showPromptAlert(std::string_view messageKey, const std::vector<std::string>& arguments);
void showUntitledAlert(std::string_view messageKey);

} // namespace core
