// shell::showPromptAlert: the application's alert for an outcome: titled "prompt", the localised text of a
// message key, and the one button "done". Main thread.
//
//   shell::showPromptAlert("login_failed");
#pragma once

#include <string_view>

namespace shell {

void showPromptAlert(std::string_view messageKey);

} // namespace shell
