// settings::showNumberAlert: the outcome alert of the number screens, the application's prompt alert: titled
// "prompt", the localised text of a message key (or, for showNumberServerText, the service's own text as it
// came), and the one button "done". Main thread.
//
//   settings::showNumberAlert("success");
#pragma once

#include <string>
#include <string_view>

namespace settings {

void showNumberAlert(std::string_view messageKey);
void showNumberServerText(const std::string& text);

} // namespace settings
