// core::Helper: the application's small shared helpers: reading and saving settings in the user-defaults
// store, checks of texts that came from replies or fields, the application's version and the upload of the
// push token. Settings may be used from any thread; uploadDeviceToken belongs to the main thread.
//
//   core::Helper::saveSettingValue(base::Value("0"), core::SettingsKeys::AutoLogin);
//   if (core::Helper::isNOTStringNullOrWhitespace(core::Tool::readChangePwdResultFromJson(reply))) changed();
#pragma once

#include "base/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace core {

class Helper {
public:
    // The value stored under the key, or nothing.
    static std::optional<base::Value> readSettingsByKey(std::string_view key);
    // Stores the value (nothing removes the key) and writes the store to its file at once.
    static void saveSettingValue(const std::optional<base::Value>& value, std::string_view key);

    // True for a value that is present, not null and not empty: a text of at least one byte (blanks count),
    // non-empty data or container, any number or date.
    static bool isNOTStringNullOrWhitespace(const std::optional<base::Value>& value);
    // The value unchanged; nothing when it is absent, null, or a text that is empty after trimming blanks and
    // tabs (Unicode space separators included).
    static std::optional<base::Value> isNotNullString(const std::optional<base::Value>& value);

    // The bundle's version ("CFBundleVersion").
    static std::string appVersion();

    // Sends the push token ("SaveAppleToken" with "Token" = "<token>_Lumet_zentar_<version>_PRO"), or the
    // blank token " " for none, which stops the server's pushes to this phone. The outcome is only logged.
    // Main thread.
    static void uploadDeviceToken(const std::optional<std::string>& token);
};

} // namespace core
