// childcare::ParentChildVC: the parent-child step challenge: three targets (3000, 6000, 12000 steps), the
// state of the current watch's challenge, and the start of a new one with a reward. Each time it appears it
// asks "GetDeviceDetial" for the current serial number: no target set gives the free state (all targets
// enabled) and the "new_tasks_can_released" alert; a set target enables only its button and an alert says
// whether the challenge runs, is finished or unfinished. A reply without a device state asks again 3 s
// later, while the screen is shown. A tap on the set target opens the progress screen (PedometerVC); in the
// free state it picks the target and asks for a reward, and "done" sends "LumetParentChildInteraction",
// opening the progress screen when the server answers "0". Opened from the drawer menu it shows the drawer
// button. Main thread; made with make().
//
//   auto screen = childcare::ParentChildVC::make(true);
//   drawer->setCenterViewControllerWithCloseAnimation(shell::NavViewController::withRootViewController(screen));
#pragma once

#include "base/time/Clock.h"
#include "core/records/Device.h"
#include "ui/alerts/AlertView.h"
#include "ui/controllers/ViewController.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class Label;
class TextField;
}

namespace childcare {

class ParentChildVC : public ui::ViewController, public ui::AlertViewDelegate {
public:
    static constexpr base::Duration detailRetryDelay { 3.0 };
    static constexpr std::array<int, 3> targets { 3000, 6000, 12000 };

    static std::shared_ptr<ParentChildVC> make(bool isShowRight);
    ~ParentChildVC() override;

    bool isShowRight() const { return m_isShowRight; }
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    // The target buttons, 3000 first.
    const std::array<std::shared_ptr<ui::Button>, 3>& targetButtons();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void getDeviceDetail();
    // A tap on a target button.
    void testAction(ui::Button& button);
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    void notiDeviceStartWithCount(int target);

private:
    void buildCaptions();
    void buildTargetButtons();
    void detailArrived(std::shared_ptr<core::Device> device);
    void showStateAlert(std::optional<std::string> title, std::optional<std::string> message,
        std::optional<std::string> cancel, std::vector<std::string> others);
    void showFreeState();
    void showChosenState(int target);
    void openProgress(int target);
    void startReplied(const std::optional<base::Value>& payload, int target);
    // Takes down the alerts this screen put up, so that none outlives it over the next screen.
    void dismissAlerts();

    bool m_isShowRight { false };
    bool m_shown { false };
    std::shared_ptr<core::Device> m_deviceDetail;
    std::array<std::shared_ptr<ui::Button>, 3> m_buttons;
    std::shared_ptr<ui::Label> m_challengingTask;
    std::shared_ptr<ui::TextField> m_rewardField;
    // The last state alert, so that a repeated detail reply does not stack the same alert again.
    std::weak_ptr<ui::AlertView> m_stateAlert;
    std::weak_ptr<ui::AlertView> m_rewardAlert;
};

} // namespace childcare
