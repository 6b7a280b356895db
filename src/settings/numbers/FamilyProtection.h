// settings::FamilyProtection: the family-protection screen, the drawer's centre screen of the menu row
// "family_protect". Four captioned buttons stand for the four numbers of a watch: father (tag 1000),
// mother (2000), SOS (3000) and listen (4000). A press opens the number screen (LikeNumberVC) for that slot
// in the shared modal presenter, handing it this screen's device record itself, so that a number accepted
// there is shown by the next number screen opened from here. The screen keeps the last number screen it
// opened alive while its view is shown. It sends nothing itself. Main thread; made with make().
//
//   auto screen = settings::FamilyProtection::make();
//   screen->setDeviceDetail(menuDevice);
//   drawer->setCenterViewControllerWithCloseAnimation(shell::NavViewController::withRootViewController(screen), true);
#pragma once

#include "core/records/Device.h"
#include "ui/controllers/ViewController.h"

#include <array>
#include <memory>

namespace ui {
class Button;
class Label;
}

namespace settings {

class LikeNumberVC;

class FamilyProtection : public ui::ViewController {
public:
    static constexpr int fatherTag = 1000;
    static constexpr int motherTag = 2000;
    static constexpr int sosTag = 3000;
    static constexpr int listenTag = 4000;

    static std::shared_ptr<FamilyProtection> make();

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }

    const std::shared_ptr<ui::Button>& btnFather();
    const std::shared_ptr<ui::Button>& btnMother();
    const std::shared_ptr<ui::Button>& btnSOS();
    const std::shared_ptr<ui::Button>& btnListen();
    // The number screen opened last, or nullptr.
    const std::shared_ptr<LikeNumberVC>& likeNumberVC() const { return m_likeNumberVC; }

    void viewDidLoad() override;
    // The four buttons' action: the tag picks the slot; any other tag does nothing.
    void familybutton(const ui::Button& button);
    void leftDrawerButtonPress();

private:
    void setupLeftMenuButton();
    std::shared_ptr<ui::Button> makeSlotButton(int index, int tag, const char* imageName);

    std::shared_ptr<core::Device> m_deviceDetail;
    // Father, mother, SOS, listen.
    std::array<std::shared_ptr<ui::Button>, 4> m_buttons;
    std::array<std::shared_ptr<ui::Label>, 4> m_labels;
    std::shared_ptr<LikeNumberVC> m_likeNumberVC;
};

} // namespace settings
