// shell::ScreenDirectory: the feature screens that the drawer menu and the home screen open, by name: the
// menu's function keys (Attendance, PhoneBook, FamilyProtect, ClassSchedule, Interaction), Settings for the
// settings centre (the menu's settings button and swipe) and Chat for the home screen's voice button. A
// feature enters its screen with a factory that makes it for the current device's detail record; a name
// without a factory is a screen not built yet, and the row or button that names it does nothing. Main
// thread.
//
//   shell::ScreenDirectory::shared().add(shell::ScreenDirectory::Attendance, [](const auto& device) {
//       return AttendanceVC::make(device); });
//   if (auto screen = shell::ScreenDirectory::shared().make(shell::ScreenDirectory::Attendance, device)) open(screen);
#pragma once

#include "core/Device.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace ui {
class ViewController;
}

namespace shell {

class ScreenDirectory {
public:
    static constexpr const char* Attendance = "attendance";
    static constexpr const char* PhoneBook = "phone_book";
    static constexpr const char* FamilyProtect = "family_protect";
    static constexpr const char* ClassSchedule = "class_schedule";
    static constexpr const char* Interaction = "interaction";
    static constexpr const char* Settings = "settings";
    static constexpr const char* Chat = "chat";

    using Factory = std::function<std::shared_ptr<ui::ViewController>(const std::shared_ptr<core::Device>& device)>;

    static ScreenDirectory& shared();

    // A later factory for the same name replaces the earlier one.
    void add(std::string name, Factory factory);
    void remove(std::string_view name);
    bool contains(std::string_view name) const;
    // A new screen for the device, or nullptr when the name has no factory.
    std::shared_ptr<ui::ViewController> make(std::string_view name, const std::shared_ptr<core::Device>& device) const;

private:
    std::map<std::string, Factory, std::less<>> m_factories;
};

} // namespace shell
