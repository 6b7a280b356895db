// The home screen's own screens in the tour: the device list, a Parvo tracker (type 2) picked there and
// walked from its menu to its number view, and the message detail. The tracker steps put the device that was
// current before back as the current one, so that the steps after them see the account as it was.
#include "core/messages/DBManager.h"
#include "kit/drawer/DrawerController.h"
#include "kit/modal/ModalPresenter.h"
#include "settings/numbers/FamilyProtection.h"
#include "shell/devices/DeviceListVC.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/messages/MessageInfoVC.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/start/CurrentDeviceChoice.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/controllers/NavigationController.h"

#include <algorithm>

namespace shell {

namespace {

    constexpr int64_t parvoType = 2;

    template <typename Screen> std::shared_ptr<Screen> onTop()
    {
        return std::dynamic_pointer_cast<Screen>(TourContext::topOfCentre());
    }

    void showHome()
    {
        TourContext::popToCentreRoot();
        TourContext::openMenuRow(MenuFunctions::Home);
    }

    // Opens the screen from the home screen once that is at rest; whether it is on top.
    template <typename Screen> bool openedFromHome(void (MainMenuVC::*open)())
    {
        if (onTop<Screen>())
            return true;
        if (auto home = TourContext::home(); home && TourContext::drawerAtRest(kit::DrawerSide::None))
            ((*home).*open)();
        return false;
    }

    bool deviceListShown()
    {
        auto list = onTop<DeviceListVC>();
        return openedFromHome<DeviceListVC>(&MainMenuVC::openDeviceList) && list && !list->devices().empty()
            && TourContext::networkIdle();
    }

    std::shared_ptr<settings::FamilyProtection> familyProtection()
    {
        return std::dynamic_pointer_cast<settings::FamilyProtection>(TourContext::centreRoot());
    }

    struct TrackerWalk {
        // The current-device row before the tracker was picked.
        std::shared_ptr<core::MobileDeviceAndLocation> previous;
    };

    void pickTracker(TrackerWalk& walk)
    {
        auto list = onTop<DeviceListVC>();
        if (!list)
            return;
        walk.previous = core::DBManager::readSingleMobileDevice();
        const auto& devices = list->devices();
        auto tracker = std::find_if(
            devices.begin(), devices.end(), [](const auto& device) { return device->deviceTypeID == parvoType; });
        if (tracker != devices.end())
            list->chooseDevice(static_cast<size_t>(tracker - devices.begin()));
    }

    bool trackerMenuShown()
    {
        auto home = TourContext::home();
        auto menu = TourContext::menu();
        if (!home || !menu || TourContext::topOfCentre() != home || !home->deviceDetail()
            || !TourContext::networkIdle())
            return false;
        if (TourContext::drawerAtRest(kit::DrawerSide::None))
            TourContext::container()->openDrawerSide(kit::DrawerSide::Left, true);
        return TourContext::drawerAtRest(kit::DrawerSide::Left) && menu->device()
            && menu->device()->deviceTypeID == parvoType;
    }

    void putPreviousDeviceBack(TrackerWalk& walk)
    {
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        if (walk.previous) {
            makeCurrentDevice(*walk.previous);
            storeCurrentDevice(*walk.previous);
        }
        showHome();
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        auto walk = std::make_shared<TrackerWalk>();
        steps.add({ "device-list", showHome, deviceListShown, {} });
        steps.add({ "tracker-menu", [walk] { pickTracker(*walk); }, trackerMenuShown, {} });
        steps.add({ "tracker-family-protection", [] { TourContext::openMenuRow(ScreenDirectory::FamilyProtect); },
            [] {
                return familyProtection() && TourContext::drawerAtRest(kit::DrawerSide::None)
                    && TourContext::networkIdle();
            },
            {} });
        steps.add({ "tracker-numbers",
            [] {
                if (auto screen = familyProtection())
                    screen->familybutton(*screen->btnFather());
            },
            [] { return kit::ModalPresenter::sharedInstance()->window() != nullptr && TourContext::networkIdle(); },
            [walk] { putPreviousDeviceBack(*walk); } });
        steps.add({ "message-detail", {},
            [] { return openedFromHome<MessageInfoVC>(&MainMenuVC::openMessageDetail) && TourContext::networkIdle(); },
            [] { TourContext::popToCentreRoot(); } });
    }

} // namespace

void registerMonitoringScreens() { addTourSteps(); }

} // namespace shell
