// core::Helper: the application's small shared helpers: reading and saving settings in the user-defaults
// store (the password settings in the keychain, see KeychainSettings.h), checks of texts that came from
// replies or fields, the busy overlay and the short notice, the application's version, the upload of the push token and
// the opening of the feedback conversation. Settings may be used from any thread; the overlay, the notice and
// uploadDeviceToken belong to the main thread.
//
//   core::Helper::saveSettingValue(base::Value("0"), core::SettingsKeys::AutoLogin);
//   if (core::Helper::isNOTStringNullOrWhitespace(core::Tool::readChangePwdResultFromJson(reply))) changed();
//   core::Helper::showNotify(false, base::localized("bad_netword"), view(), {});
#pragma once

#include "base/values/Value.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kit {
class ProgressOverlay;
}
namespace ui {
class View;
class ViewController;
}

namespace core {

class Helper {
public:
    // The key the application identifies itself with to the analytics and feedback services.
    static constexpr const char* AnalyticsAppKey = "lumet-companion";

    // The value stored under the key, or nothing.
    [[nodiscard]] static std::optional<base::Value> readSettingsByKey(std::string_view key);
    // Stores the value (nothing removes the key) and writes the store to its file at once.
    static void saveSettingValue(const std::optional<base::Value>& value, std::string_view key);

    // True for a value that is present, not null and not empty: a text of at least one byte (blanks count),
    // non-empty data or container, any number or date.
    static bool isNOTStringNullOrWhitespace(const std::optional<base::Value>& value);
    // The value unchanged; nothing when it is absent, null, or a text that is empty after trimming blanks and
    // tabs (Unicode space separators included).
    static std::optional<base::Value> isNotNullString(const std::optional<base::Value>& value);

    // Lays `hud` over `view` (a square box at opacity 0.64 with the text as its label) and shows it animated;
    // the caller hides it with hide(true), which also takes it off the view.
    static void showHUD(const std::string& text, const std::shared_ptr<ui::View>& view,
        const std::shared_ptr<kit::ProgressOverlay>& hud);
    // A short notice centred on `parentView`: the image "Checkmark" (success) or "cha" (failure) above the
    // text, at opacity 0.95, shown for 1.0 s with fades of 0.5 s; then it leaves the view and `completion`
    // (which may be empty) runs.
    static void showNotify(bool success, const std::string& text, const std::shared_ptr<ui::View>& parentView,
        std::function<void()> completion);

    // The bundle's version ("CFBundleVersion").
    static std::string appVersion();

    // Sends the push token ("SaveAppleToken" with "Token" = "<token>_Lumet_zentar_<version>_PRO"), or the
    // blank token " " for none, which stops the server's pushes to this phone. The outcome is only logged.
    // Main thread.
    static void uploadDeviceToken(const std::optional<std::string>& token);

    // Opens the signed-in account's feedback conversation from `screen` (feedback::FeedbackClient, with
    // AnalyticsAppKey), posted only while this sign-in lasts; signed out, nothing. Main thread.
    static void showFeedback(const std::shared_ptr<ui::ViewController>& screen);
};

} // namespace core
