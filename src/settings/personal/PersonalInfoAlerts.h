// settings::PersonalInfoAlerts: the outcome alerts of the settings centre and the about screen: a localised
// message under the title "prompt" or without a title, with the one button "done", and optionally a delegate
// and a tag for the alerts whose button leads on. Main thread.
//
//   settings::PersonalInfoAlerts::prompt("setting_failed");
//   settings::PersonalInfoAlerts::untitled("setting_success", weak_from_this(), 301);
#pragma once

#include "ui/alerts/AlertView.h"

#include <memory>
#include <optional>
#include <string_view>

namespace settings {

class PersonalInfoAlerts {
public:
    static void prompt(std::string_view messageKey, std::weak_ptr<ui::AlertViewDelegate> delegate = {}, int tag = 0);
    static void untitled(std::string_view messageKey);
    // Any title key and message key.
    static void titled(std::string_view titleKey, std::string_view messageKey);
};

} // namespace settings
