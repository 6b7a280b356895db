// childcare::PedometerVC: the progress screen of a running step challenge. It shows the target, a progress
// ring and a percentage, asks "LumetGetStepCount" for the current watch's step count when it appears and
// again 4 s after each reply, and pushes the completion screen 2 s after the target is reached. "finish"
// ends the challenge at once (ChallengeEnding) and, after the "success" alert, closes the screen. Polls and
// the pending push end when the screen disappears; shown again after the completion screen, it closes itself,
// so the user lands on the set-up screen. Main thread; made with make().
//
//   auto progress = childcare::PedometerVC::make(6000, device, true);
//   navigationController()->pushViewController(progress, true);
#pragma once

#include "base/time/Clock.h"
#include "base/values/Value.h"
#include "core/records/Device.h"
#include "gfx/drawing/Color.h"
#include "ui/alerts/AlertView.h"
#include "ui/controllers/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace kit {
class CircularProgressView;
}
namespace ui {
class Label;
}

namespace childcare {

class PedometerVC : public ui::ViewController, public ui::AlertViewDelegate {
public:
    static constexpr base::Duration pollDelay { 4.0 };
    static constexpr base::Duration completionDelay { 2.0 };
    static constexpr int endedAlertTag = 50;
    static constexpr gfx::Color ringBackColor { 236.0 / 255, 236.0 / 255, 236.0 / 255, 1 };
    static constexpr gfx::Color progressColor { 0.52, 0.8, 0.05, 1 };

    static std::shared_ptr<PedometerVC> make(int32_t index, std::shared_ptr<core::Device> device, bool isStart);
    ~PedometerVC() override;

    int32_t index() const { return m_index; }
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    bool isStart() const { return m_isStart; }
    float currentPer() const { return m_currentPer; }
    const std::shared_ptr<kit::CircularProgressView>& ring();
    const std::shared_ptr<ui::Label>& percentLabel();
    const std::shared_ptr<ui::Label>& countLabel();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    void getCountFromOnline();
    // The right bar button "finish".
    void cancelParentChildInteraction();
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

private:
    void buildLabels();
    void updateUI();
    void stepsArrived(const std::optional<base::Value>& value);
    void goToCompletion();
    // A refused or failed "finish": said, and the polling that the tap stopped goes on.
    void endingFailed();
    void stopPolling();

    int32_t m_index { 0 };
    std::shared_ptr<core::Device> m_deviceDetail;
    bool m_isStart { false };
    // Polling: from appearing until the screen disappears, the target is reached or "finish" is pressed.
    bool m_polling { false };
    float m_currentPer { 0 };
    std::shared_ptr<ui::Label> m_countLabel;
    std::shared_ptr<ui::Label> m_taskProgress;
    std::shared_ptr<ui::Label> m_targetTask;
    std::shared_ptr<kit::CircularProgressView> m_ring;
    std::shared_ptr<ui::Label> m_percentLabel;
};

} // namespace childcare
