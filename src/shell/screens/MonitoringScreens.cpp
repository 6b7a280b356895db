// The home screen's own screens in the tour: the device list, a Parvo tracker (type 2) picked there and
// walked from its menu to its number view, the message detail, and the type-27 watch's message detail playing
// its voice message. The tracker and watch steps put the device that was current before back as the current
// one, so that the steps after them see the account as it was.
#include "chat/MessageCell.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/AccountDevices.h"
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
#include "ui/controls/Button.h"
#include "ui/scroll/TableView.h"
#include "voice/RecordAudio.h"

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

    // Makes the account's type-27 watch current, as a pick in the device list does.
    void pickVoiceWatch(TrackerWalk& walk)
    {
        auto home = TourContext::home();
        const auto& types = core::AccountDevices::types();
        auto watch = std::find_if(types.begin(), types.end(),
            [](const auto& device) { return device.second == core::IncomingMessages::VoiceInMessageCentreType; });
        if (!home || watch == types.end())
            return;
        walk.previous = core::DBManager::readSingleMobileDevice();
        core::MobileDeviceAndLocation picked;
        picked.serialNumber = watch->first;
        picked.deviceTypeID = watch->second;
        home->deviceChosen(picked);
    }

    // Opens the message detail once the watch's record is read and taps its voice row; whether it plays.
    bool voiceMessagePlays()
    {
        auto home = TourContext::home();
        if (!home || !home->deviceDetail() || !TourContext::networkIdle()
            || !openedFromHome<MessageInfoVC>(&MainMenuVC::openMessageDetail))
            return false;
        if (home->recordAudio() && home->recordAudio()->isPlaying())
            return true;
        auto detail = onTop<MessageInfoVC>();
        const auto& frames = detail->messageFrames();
        auto voice = std::find_if(frames.begin(), frames.end(),
            [](const auto& frame) { return frame->message()->desc == core::ServiceProtocol::VoiceMarker; });
        if (voice == frames.end())
            return false;
        ui::IndexPath path { 0, static_cast<int>(voice - frames.begin()) };
        detail->tableView()->layoutIfNeeded();
        if (auto cell = std::dynamic_pointer_cast<chat::MessageCell>(detail->tableView()->cellForRowAtIndexPath(path)))
            cell->contentBtn()->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
        return false;
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
        steps.add({ "watch-voice-message", [walk] { pickVoiceWatch(*walk); }, voiceMessagePlays,
            [walk] { putPreviousDeviceBack(*walk); } });
    }

} // namespace

void registerMonitoringScreens() { addTourSteps(); }

} // namespace shell
