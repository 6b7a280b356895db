// childcare::TimeReceiveSettingVC: the upload-interval panel of the trackers, shown in the kit's modal
// presenter: a title, the entry field for the interval and, for the types 13 and 18, the segment "GPS" /
// "OBD". "done" sends the interval by the device's type (UploadInterval) and closes the panel without waiting
// for the reply; an entry that is not a positive whole number is not sent: the "please_input_time" prompt
// shows and the panel stays open with the text. The reply's alert says "success" only when the server
// accepted the command; an accepted Parvo command also writes the interval into the record's Parvo
// configuration. "cancel" closes the panel; Return in the field presses "done". The panel moves up while the keyboard
// covers its field. Main thread; made with make().
//
//   auto panel = childcare::TimeReceiveSettingVC::make(device);
//   kit::ModalPresenter::sharedInstance()->showWithContentView(panel->view(), true);
#pragma once

#include "core/records/Device.h"
#include "gfx/drawing/Color.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>

namespace core {
class KeyboardLift;
}
namespace ui {
class Button;
class Label;
class SegmentedControl;
class TextField;
}

namespace childcare {

class TimeReceiveSettingVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr gfx::Size panelSize { 286, 200 };
    static constexpr gfx::Rect segmentFrame { 23, 42, 240, 30 };
    static constexpr gfx::Color segmentTint { 27.0 / 255, 186.0 / 255, 254.0 / 255, 1 };

    static std::shared_ptr<TimeReceiveSettingVC> make(std::shared_ptr<core::Device> device);
    ~TimeReceiveSettingVC() override;

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    const std::shared_ptr<ui::TextField>& timeText();
    const std::shared_ptr<ui::SegmentedControl>& segment();
    const std::shared_ptr<ui::Button>& doneButton();
    const std::shared_ptr<ui::Button>& cancelButton();

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void dismissView();
    void setTimeForPassBack();

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

private:
    void buildLabels();
    void buildField();
    void buildButtons();
    std::shared_ptr<ui::Button> makeButton(const gfx::Rect& frame, const char* titleKey);

    std::shared_ptr<core::Device> m_deviceDetail;
    std::shared_ptr<ui::Label> m_titleLab;
    std::shared_ptr<ui::Label> m_receiveLabel;
    std::shared_ptr<ui::TextField> m_timeText;
    std::shared_ptr<ui::Button> m_cancelBtn;
    std::shared_ptr<ui::Button> m_doneBtn;
    std::shared_ptr<ui::SegmentedControl> m_segment;
    std::shared_ptr<core::KeyboardLift> m_lift;
};

} // namespace childcare
