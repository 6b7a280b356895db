#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/state/Singleton.h"
#include "kit/modal/ModalPresenter.h"
#include "settings/personal/PersonalInfoVC.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/controllers/NavigationController.h"
#include "ui/scroll/TableView.h"

namespace shell {

namespace {

    // The key-lock picture shows the demo watch of type 44; the tour returns to the one it started with.
    constexpr const char* keyLockWatch = "LW4400000001";

    std::shared_ptr<settings::PersonalInfoVC> settingsCentre()
    {
        return std::dynamic_pointer_cast<settings::PersonalInfoVC>(TourContext::centreRoot());
    }

    bool settingsReady()
    {
        auto screen = settingsCentre();
        return screen && !screen->isLoadingDetail() && screen->commandsInFlight() == 0 && TourContext::networkIdle()
            && TourContext::drawerAtRest(kit::DrawerSide::None);
    }

    void openSettings()
    {
        if (auto menu = TourContext::menu())
            menu->openSettings();
    }

    // Selects the row as a tap does.
    void selectRow(settings::PersonalInfoRow row)
    {
        auto screen = settingsCentre();
        if (!screen)
            return;
        for (int section = 0; section < settings::PersonalInfoRows::sectionCount; ++section) {
            auto rows = screen->rowsOfSection(section);
            for (size_t index = 0; index < rows.size(); ++index)
                if (rows[index] == row)
                    screen->didSelectRowAtIndexPath(*screen->tableView(), { section, static_cast<int>(index) });
        }
    }

    bool pushedOverSettings()
    {
        auto screen = settingsCentre();
        auto navigation = screen ? screen->navigationController() : nullptr;
        return navigation && navigation->topViewController() != screen && TourContext::networkIdle();
    }

    // The current device while the key-lock picture is taken: its stored row is of type 44.
    struct SwitchedDevice {
        std::string serialNumber;
        std::shared_ptr<core::MobileDeviceAndLocation> row;
    };
    SwitchedDevice& switchedDevice()
    {
        static SwitchedDevice device;
        return device;
    }

    void showKeyLockWatch()
    {
        auto& state = core::Singleton::shared();
        switchedDevice() = { state.lastSerialnumber(), core::DBManager::readSingleMobileDevice() };
        core::MobileDeviceAndLocation row;
        row.serialNumber = keyLockWatch;
        row.DeviceName = "Lumet Watch (44)";
        row.deviceTypeID = 44;
        state.setLastSerialnumber(keyLockWatch);
        if (!core::DBManager::saveOrUpdataMobileDeviceDB(row))
            base::log("tour: the key-lock watch could not be stored");
        openSettings();
    }

    void restoreDevice()
    {
        auto& saved = switchedDevice();
        core::Singleton::shared().setLastSerialnumber(saved.serialNumber);
        if (saved.row && !core::DBManager::saveOrUpdataMobileDeviceDB(*saved.row))
            base::log("tour: the device could not be stored back");
        openSettings();
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "settings", openSettings, settingsReady, {} });
        steps.add({ "settings-keylock", showKeyLockWatch, settingsReady, restoreDevice });
        steps.add({ "settings-password", [] { selectRow(settings::PersonalInfoRow::ChangePassword); },
            [] { return kit::ModalPresenter::sharedInstance()->window() != nullptr && settingsReady(); },
            [] { kit::ModalPresenter::sharedInstance()->hideAnimated(false); } });
        steps.add({ "power-schedule", [] { selectRow(settings::PersonalInfoRow::SleepTimer); }, pushedOverSettings,
            TourContext::popToCentreRoot });
        steps.add({ "about", [] { selectRow(settings::PersonalInfoRow::About); }, pushedOverSettings,
            TourContext::popToCentreRoot });
        steps.add({ "feedback", [] { selectRow(settings::PersonalInfoRow::Feedback); },
            [] {
                auto screen = settingsCentre();
                return screen && screen->presentedViewController() && TourContext::networkIdle();
            },
            [] {
                if (auto screen = settingsCentre())
                    screen->dismissViewController(false);
            } });
    }

} // namespace

void registerSettingsScreens()
{
    ScreenDirectory::shared().add(
        ScreenDirectory::Settings, [](const std::shared_ptr<core::Device>& device, ScreenDirectory::Opening) {
            return settings::PersonalInfoVC::make(device);
        });
    addTourSteps();
}

} // namespace shell
