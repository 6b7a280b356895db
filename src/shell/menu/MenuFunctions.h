// shell::MenuFunctions: the drawer menu's functions for a device type, read from the "config" property list
// (core::Singleton::config): "FunctionsByDeviceType" maps a type's decimal text to the list of its function
// keys, "DefaultFunctions" serves every type it does not list (and an unknown type). A key is a localisation
// key, the row's title, and names the function: the home screen (Home), the logout (Logout) or a feature
// screen of the ScreenDirectory. Main thread.
//
//   for (const auto& key : shell::MenuFunctions::forDeviceType(core::Singleton::shared().deviceTypeID()))
//       rows.push_back({ key, base::localized(key) });
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shell {

class MenuFunctions {
public:
    static constexpr const char* Home = "home_page";
    static constexpr const char* Logout = "logout";

    static std::vector<std::string> forDeviceType(std::optional<int64_t> type);
};

} // namespace shell
