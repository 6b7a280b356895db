#include "shell/FeatureScreens.h"

#include "base/Localization.h"
#include "childcare/CompleteChallengeVC.h"
#include "childcare/ParentChildVC.h"
#include "childcare/PedometerVC.h"
#include "childcare/TimeReceiveSettingVC.h"
#include "kit/DrawerTypes.h"
#include "kit/ModalPresenter.h"
#include "shell/MainMenuVC.h"
#include "shell/ScreenDirectory.h"
#include "shell/TourContext.h"
#include "shell/TourSteps.h"
#include "ui/AlertView.h"
#include "ui/AlertWindow.h"
#include "ui/Application.h"
#include "ui/Button.h"

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

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "interaction", [] { TourContext::openMenuRow(ScreenDirectory::Interaction); },
            [] { return setUpScreenSettled() && alertSaying("tasks_in_progress"); }, dismissAlerts });
        steps.add({ "pedometer", [] { tapTarget(1); },
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
