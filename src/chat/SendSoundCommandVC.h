// chat::SendSoundCommandVC: the small panel that sends a typed sound command to a tracker of types 2, 13, 18
// and 20: a title, one text field and the buttons "cancel" and "done", shown as the content of the shared
// modal presenter, which it closes itself. Done sends "ParvoSendSoundCommand" {"Serialnumber", "CommandText"}
// (the text as typed) and closes the panel at once; the alert that follows says "success" only when the
// service took the command, else "failure". A command that was refused or failed reappears in the panel
// next opened for that device in the same sign-in, so the user can send it again; a sign-out forgets it, and
// the answer of a command sent before one shows nothing. For any other device type done does nothing.
// Return in the field presses done. The panel moves up while the keyboard is up. Main thread; made with make().
//
//   auto panel = chat::SendSoundCommandVC::make(device);
//   kit::ModalPresenter::sharedInstance()->showWithContentView(panel->view(), true);
#pragma once

#include "core/records/Device.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <map>
#include <memory>
#include <string>

namespace core {
class KeyboardLift;
}
namespace ui {
class Button;
class Label;
class TextField;
}

namespace chat {

class SendSoundCommandVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr gfx::Size panelSize { 270, 170 };
    static constexpr const char* SendSoundCommandMethod = "ParvoSendSoundCommand";

    static std::shared_ptr<SendSoundCommandVC> make(std::shared_ptr<core::Device> device);
    ~SendSoundCommandVC() override;

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    [[nodiscard]] static bool takesSoundCommands(const std::shared_ptr<core::Device>& device);

    const std::shared_ptr<ui::Button>& doneBtn();
    const std::shared_ptr<ui::Button>& cancelBtn();
    const std::shared_ptr<ui::Label>& titleLabel();
    const std::shared_ptr<ui::TextField>& commandField();

    void viewDidLoad() override;
    void dismissView();
    void done();
    void sendCommandForParvo();

    bool textFieldShouldReturn(ui::TextField& field) override;

private:
    void buildButtons();
    std::string serialNumber() const;
    // Commands that did not reach the device, by serial number, offered again in the next panel.
    static std::map<std::string, std::string>& unsentCommands();

    std::shared_ptr<ui::Button> m_doneBtn;
    std::shared_ptr<ui::Button> m_cancelBtn;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::TextField> m_commandField;
    std::shared_ptr<core::Device> m_deviceDetail;
    std::shared_ptr<core::KeyboardLift> m_keyboardLift;
};

} // namespace chat
