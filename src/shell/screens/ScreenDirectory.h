// shell::ScreenDirectory: the feature screens that the drawer menu and the home screen open, by name: the
// menu's function keys (Attendance, PhoneBook, FamilyProtect, ClassSchedule, Interaction, SoundCommand,
// UploadInterval, ListenNumber, CenterNumber, FamilyNumber), Settings for the settings centre (the menu's
// settings button and swipe) and Chat for the home screen's voice button. A feature enters its screen with a
// factory that makes it for the current device's detail record and learns how it is opened: as the drawer's
// centre (the menu) or pushed on a navigation controller (the home screen, another screen). A panel is a
// screen whose view is shown in the kit's modal presenter instead; the directory keeps its controller alive
// while the view is shown. A name without a factory is a screen not built yet, and the row or button that
// names it does nothing. Main thread.
//
//   shell::ScreenDirectory::shared().add(shell::ScreenDirectory::Attendance,
//       [](const auto& device, shell::ScreenDirectory::Opening opening) { return AttendanceVC::make(device, opening);
//       });
//   if (auto screen = directory.make(shell::ScreenDirectory::Attendance, device, Opening::Pushed)) push(screen);
#pragma once

#include "core/records/Device.h"

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
    static constexpr const char* SoundCommand = "sound_command";
    static constexpr const char* UploadInterval = "upload_interval";
    static constexpr const char* ListenNumber = "listen_number";
    static constexpr const char* CenterNumber = "center_number";
    static constexpr const char* FamilyNumber = "family_number";

    enum class Opening { DrawerCentre, Pushed };

    using Factory
        = std::function<std::shared_ptr<ui::ViewController>(const std::shared_ptr<core::Device>& device, Opening)>;
    using PanelFactory
        = std::function<std::shared_ptr<ui::ViewController>(const std::shared_ptr<core::Device>& device)>;

    static ScreenDirectory& shared();

    // A later factory for the same name replaces the earlier one.
    void add(std::string name, Factory factory);
    void remove(std::string_view name);
    bool contains(std::string_view name) const;
    // A new screen for the device, or nullptr when the name has no factory.
    std::shared_ptr<ui::ViewController> make(
        std::string_view name, const std::shared_ptr<core::Device>& device, Opening opening) const;

    // A later panel for the same name replaces the earlier one.
    void addPanel(std::string name, PanelFactory factory);
    void removePanel(std::string_view name);
    bool containsPanel(std::string_view name) const;
    // Makes the panel for the device and shows its view as the modal presenter's content, the controller a
    // child of the presenter's controller (so it lives while its view is shown, and hears its appearance).
    // The controller shown, or nullptr when the name has no panel.
    std::shared_ptr<ui::ViewController> showPanel(std::string_view name, const std::shared_ptr<core::Device>& device);
    // The panel controller whose view the modal presenter shows, if any.
    static std::shared_ptr<ui::ViewController> shownPanel();

private:
    std::map<std::string, Factory, std::less<>> m_factories;
    std::map<std::string, PanelFactory, std::less<>> m_panels;
};

} // namespace shell
