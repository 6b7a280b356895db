// childcare::CompleteChallengeVC: the completion screen of a reached step target: the caption "task_finish"
// over a steady fall of small "1gif" images (one more every 0.3 s while the screen is shown), and the two
// buttons "cash_bonus" and "cancel_cash", each of which ends the challenge (ChallengeEnding) and closes the
// screen once the server has accepted. The falling images' places, sizes, times, drift and turn come from
// the shared random source. Main thread; made with make().
//
//   navigationController()->pushViewController(childcare::CompleteChallengeVC::make(device), true);
#pragma once

#include "base/time/Clock.h"
#include "core/records/Device.h"
#include "ui/controllers/ViewController.h"

#include <memory>

namespace base {
class Timer;
}
namespace ui {
class Button;
class Label;
}

namespace childcare {

class CompleteChallengeVC : public ui::ViewController {
public:
    static constexpr base::Duration fallInterval { 0.3 };
    static constexpr int cashBonusTag = 0;
    static constexpr int cancelCashTag = 1;
    static constexpr const char* fallingImageName = "1gif";

    static std::shared_ptr<CompleteChallengeVC> make(std::shared_ptr<core::Device> device);
    ~CompleteChallengeVC() override;

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    const std::shared_ptr<ui::Button>& cashBonus();
    const std::shared_ptr<ui::Button>& cancelCash();
    bool isFalling() const { return m_timer != nullptr; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Adds one falling image.
    void addGif();
    void clickAction(int tag);

private:
    std::shared_ptr<ui::Button> makeButton(const gfx::Rect& frame, const char* titleKey, int tag);
    void stopFalling();

    std::shared_ptr<core::Device> m_deviceDetail;
    std::shared_ptr<ui::Label> m_taskFinish;
    std::shared_ptr<ui::Button> m_cashBonus;
    std::shared_ptr<ui::Button> m_cancelCash;
    std::shared_ptr<base::Timer> m_timer;
};

} // namespace childcare
