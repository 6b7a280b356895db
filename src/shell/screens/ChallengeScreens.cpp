#include "shell/screens/FeatureScreens.h"

#include "base/text/Localization.h"
#include "childcare/challenge/CompleteChallengeVC.h"
#include "childcare/challenge/ParentChildVC.h"
#include "childcare/challenge/PedometerVC.h"
#include "childcare/device/TimeReceiveSettingVC.h"
#include "kit/drawer/DrawerTypes.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/Button.h"
#include "ui/view/Application.h"

namespace shell {

namespace {

    // The challenge's device type for the upload-interval picture: a tracker that shows the segment.
    constexpr int64_t segmentTrackerType = 13;

    template <typename Screen> std::shared_ptr<Screen> topScreen()
    {
        return std::dynamic_pointer_cast<Screen>(TourContext::topOfCentre());
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

    bool alertTitled(const char* key)
    {
        auto alert = shownAlert();
        return alert && alert->title() == base::localized(key);
    }

    bool alertSaying(const char* key)
    {
        auto alert = shownAlert();
        return alert && alert->message() == base::localized(key);
    }

    void dismissAlerts()
    {
        while (auto alert = shownAlert())
            alert->dismissWithClickedButtonIndex(0, false);
    }

    bool setUpScreenSettled()
    {
        return topScreen<childcare::ParentChildVC>() && TourContext::networkIdle()
            && TourContext::drawerAtRest(kit::DrawerSide::None);
    }

    void tapTarget(size_t row)
    {
        if (auto screen = topScreen<childcare::ParentChildVC>())
            screen->testAction(*screen->targetButtons()[row]);
    }

    // A copy of the home screen's record as a tracker of type 13, for the panel's picture.
    std::shared_ptr<core::Device> segmentTracker()
    {
        auto home = TourContext::home();
        auto device
            = std::make_shared<core::Device>(home && home->deviceDetail() ? *home->deviceDetail() : core::Device {});
        device->deviceTypeID = segmentTrackerType;
        device->parvoDeviceConfig = std::make_shared<core::ParvoDeviceConfig>();
        device->parvoDeviceConfig->intervalTime = core::ConfigText("60");
        return device;
    }

    // Follows the running challenge, or, where an earlier tour ended it, starts the shortest one: the service
    // keeps its state between runs, and the tour must walk whichever it finds.
    void followOrStartChallenge()
    {
        auto screen = topScreen<childcare::ParentChildVC>();
        if (!screen)
            return;
        tapTarget(0);
        auto reward = shownAlert();
        if (reward && alertTitled("rewards")) {
            screen->alertViewClickedButtonAtIndex(*reward, 1);
            reward->dismissWithClickedButtonIndex(1, false);
        }
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        // An alert that an earlier screen's step left up would hide the challenge's own.
        steps.add({ "interaction",
            [] {
                dismissAlerts();
                TourContext::openMenuRow(ScreenDirectory::Interaction);
            },
            [] {
                return setUpScreenSettled()
                    && (alertSaying("tasks_in_progress") || alertTitled("new_tasks_can_released"));
            },
            dismissAlerts });
        steps.add({ "pedometer", followOrStartChallenge,
            [] {
                auto progress = topScreen<childcare::PedometerVC>();
                return progress && progress->currentPer() > 0 && TourContext::networkIdle();
            },
            {} });
        steps.add({ "challenge-complete", {},
            [] { return topScreen<childcare::CompleteChallengeVC>() && TourContext::networkIdle(); },
            [] {
                if (auto complete = topScreen<childcare::CompleteChallengeVC>())
                    complete->clickAction(childcare::CompleteChallengeVC::cashBonusTag);
            } });
        steps.add({ "interaction-free", {},
            [] { return setUpScreenSettled() && alertTitled("new_tasks_can_released"); }, dismissAlerts });
        steps.add({ "interaction-reward", [] { tapTarget(0); }, [] { return alertTitled("rewards"); }, dismissAlerts });
        steps.add({ "upload-interval",
            [] { ScreenDirectory::shared().showPanel(ScreenDirectory::UploadInterval, segmentTracker()); },
            [] {
                auto panel = std::dynamic_pointer_cast<childcare::TimeReceiveSettingVC>(ScreenDirectory::shownPanel());
                return panel && panel->appearanceState() == ui::ViewController::AppearanceState::Appeared;
            },
            [] { kit::ModalPresenter::sharedInstance()->hideAnimated(false); } });
    }

} // namespace

void registerChallengeScreens()
{
    auto& directory = ScreenDirectory::shared();
    directory.add(
        ScreenDirectory::Interaction, [](const std::shared_ptr<core::Device>&, ScreenDirectory::Opening opening) {
            return childcare::ParentChildVC::make(opening == ScreenDirectory::Opening::DrawerCentre);
        });
    directory.addPanel(ScreenDirectory::UploadInterval,
        [](const std::shared_ptr<core::Device>& device) { return childcare::TimeReceiveSettingVC::make(device); });
    addTourSteps();
}

} // namespace shell
