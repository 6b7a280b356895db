// The number screens: family protection in the drawer's centre, the listen, centre and family-number panels
// of the menu, and their tour steps.
#include "base/values/Dictionary.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/modal/ModalPresenter.h"
#include "settings/numbers/BtnModel.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/FamilyNumberVC.h"
#include "settings/numbers/FamilyProtection.h"
#include "settings/numbers/ImageAnimate.h"
#include "settings/numbers/LikeNumberVC.h"
#include "settings/numbers/ListenNumberVC.h"
#include "settings/numbers/NumberPanelParts.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

namespace shell {

namespace {

    using Device = std::shared_ptr<core::Device>;

    // Devices of the demo account of the local service, for the pictures of other device types.
    constexpr const char* parvoTracker = "PV0200000001";
    constexpr const char* quennTracker = "QN0300000001";
    constexpr const char* newSorbyTracker = "NS1600000001";
    constexpr const char* watch44 = "LW4400000001";

    // A panel's appearance step runs before the directory shows its view.
    template <typename Panel> std::shared_ptr<ui::ViewController> appeared(std::shared_ptr<Panel> panel)
    {
        settings::NumberPanelParts::runAppearanceStep(*panel);
        return panel;
    }

    void registerScreens()
    {
        auto& directory = ScreenDirectory::shared();
        directory.add(ScreenDirectory::FamilyProtect, [](const Device& device, ScreenDirectory::Opening) {
            auto screen = settings::FamilyProtection::make();
            screen->setDeviceDetail(device);
            return screen;
        });
        directory.addPanel(ScreenDirectory::ListenNumber,
            [](const Device& device) { return appeared(settings::ListenNumberVC::make(device)); });
        directory.addPanel(ScreenDirectory::CenterNumber,
            [](const Device& device) { return appeared(settings::CenterNumberVC::make(device)); });
        // The row first asks which key to edit; the editor comes with the answer.
        directory.addPanel(ScreenDirectory::FamilyNumber, [](const Device& device) {
            settings::FamilyNumberVC::chooseKeyAndOpen(device);
            return std::shared_ptr<ui::ViewController>();
        });
    }

    // The tour's own look-up of a demo device's record, for the screens of other device types.
    struct TourDevice {
        Device device;
        bool asked { false };
    };

    std::shared_ptr<TourDevice> fetchDevice(const char* serialNumber)
    {
        auto fetched = std::make_shared<TourDevice>();
        fetched->asked = true;
        core::WebCall::post(
            "GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", base::Value(serialNumber) } }),
            [fetched](const std::string& reply) { fetched->device = core::Tool::readDeviceDetailFromJson(reply); },
            [](const base::Error&) {});
        return fetched;
    }

    bool panelShown()
    {
        return kit::ModalPresenter::sharedInstance()->window() != nullptr && TourContext::networkIdle();
    }
    void hidePanel() { kit::ModalPresenter::sharedInstance()->hideAnimated(false); }

    // A step that shows a panel for a demo device of another type than the current one, once the device's
    // record has come, and closes it after the picture.
    TourStep deviceStep(const char* picture, const char* serialNumber, std::function<void(const Device&)> show)
    {
        auto fetched = std::make_shared<std::shared_ptr<TourDevice>>();
        auto shown = std::make_shared<bool>(false);
        return { picture,
            [fetched, shown, serialNumber] {
                *shown = false;
                *fetched = fetchDevice(serialNumber);
            },
            [fetched, shown, show] {
                if (!*shown && *fetched && (*fetched)->device && TourContext::networkIdle()) {
                    show((*fetched)->device);
                    *shown = true;
                    return false;
                }
                return *shown && panelShown();
            },
            hidePanel };
    }

    void showNumberScreen(const Device& device)
    {
        auto screen = settings::LikeNumberVC::make();
        screen->setDeviceDetail(device);
        settings::NumberPanelParts::present(screen);
    }

    std::function<void(const Device&)> showPanelNamed(const char* panel)
    {
        return [panel](const Device& device) { ScreenDirectory::shared().showPanel(panel, device); };
    }

    void showFamilyNumberEditor(const Device& device)
    {
        settings::NumberPanelParts::present(settings::FamilyNumberVC::make(device, 1));
    }

    std::shared_ptr<ui::AlertView> shownAlert()
    {
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            if (alertWindow && alertWindow->isShown())
                return std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel());
        }
        return nullptr;
    }

    std::shared_ptr<settings::FamilyProtection> familyProtection()
    {
        return std::dynamic_pointer_cast<settings::FamilyProtection>(TourContext::centreRoot());
    }

    bool fanOut()
    {
        auto home = TourContext::home();
        return home && home->familyNumberButton()->tag() == 1 && TourContext::networkIdle();
    }

    void foldFan()
    {
        if (auto home = TourContext::home(); home && home->familyNumberButton()->tag() == 1)
            home->setNumber();
    }

    // The fan of a watch of type 44: three buttons. The stored current-device row decides, so the step
    // stores one of that type and puts the real one back afterwards.
    TourStep fanOf44Step()
    {
        auto stored = std::make_shared<std::shared_ptr<core::MobileDeviceAndLocation>>();
        return { "home-fan-44",
            [stored] {
                *stored = core::DBManager::readSingleMobileDevice();
                auto row = std::make_shared<core::MobileDeviceAndLocation>(
                    *stored ? **stored : core::MobileDeviceAndLocation {});
                row->deviceTypeID = 44;
                (void)core::DBManager::saveOrUpdataMobileDeviceDB(*row);
                if (auto home = TourContext::home())
                    home->setNumber();
            },
            fanOut,
            [stored] {
                foldFan();
                if (*stored)
                    (void)core::DBManager::saveOrUpdataMobileDeviceDB(**stored);
            } };
    }

    void registerTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "family-protection", [] { TourContext::openMenuRow(ScreenDirectory::FamilyProtect); },
            [] { return familyProtection() && TourContext::networkIdle(); }, {} });
        steps.add({ "numbers-lumet",
            [] {
                if (auto screen = familyProtection())
                    screen->familybutton(*screen->btnFather());
            },
            panelShown, hidePanel });
        steps.add(deviceStep("numbers-parvo", parvoTracker, showNumberScreen));
        steps.add(deviceStep("numbers-quenn", quennTracker, showNumberScreen));
        steps.add(deviceStep("numbers-newsorby", newSorbyTracker, showNumberScreen));
        steps.add(deviceStep("listen-number", quennTracker, showPanelNamed(ScreenDirectory::ListenNumber)));
        steps.add(deviceStep("center-number", quennTracker, showPanelNamed(ScreenDirectory::CenterNumber)));
        steps.add({ "home-fan", [] { TourContext::openMenuRow(MenuFunctions::Home); },
            [] {
                auto home = TourContext::home();
                if (home && home->familyNumberButton()->tag() == 0 && TourContext::networkIdle())
                    home->setNumber();
                return fanOut();
            },
            {} });
        steps.add({ "fan-entry",
            [] {
                if (auto home = TourContext::home())
                    home->familyNumberButton()->btnone()->clickbtn();
            },
            [] { return shownAlert() != nullptr; },
            [] {
                if (auto alert = shownAlert())
                    alert->dismissWithClickedButtonIndex(0, false);
                foldFan();
            } });
        steps.add(fanOf44Step());
        steps.add(deviceStep("family-number", watch44, showFamilyNumberEditor));
    }

} // namespace

void registerNumberScreens()
{
    registerScreens();
    registerTourSteps();
}

} // namespace shell
