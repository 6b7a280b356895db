// settings::FamilyNumberVC: the family-number editor, shown in the shared modal presenter. It edits one of
// the three key numbers of the main watch model (index 1 father, 2 mother, 3 SOS) with that key's state:
// listen sends state 1, call sends state 2, in one "LumetSetManyPhoneConfig_V2" request of thirteen fields
// that carries the other keys' numbers, states, names and icons as the record holds them when the request
// goes (a state the record lacks goes as null). Only the accepted text counts: then the number and state
// sent are written into the record and "success" is shown; anything else shows "failure" and the record
// keeps the watch's number. Return in the field presses the button of the key's present state (a key without
// one only ends the editing). The editor stays open until cancel. Without a device record
// or its watch configuration, or for an index that names no key, nothing is sent and "failure" is shown.
// Main thread; made with make().
//
//   settings::NumberPanelParts::present(settings::FamilyNumberVC::make(device, 2));
#pragma once

#include "base/values/Dictionary.h"
#include "core/records/Device.h"
#include "settings/numbers/NumberFieldLift.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>

namespace ui {
class ActionSheet;
class Button;
class Label;
class TextField;
}

namespace settings {

class FamilyNumberVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr const char* Method = "LumetSetManyPhoneConfig_V2";
    static constexpr int64_t ListenState = 1;
    static constexpr int64_t CallState = 2;

    static std::shared_ptr<FamilyNumberVC> make(std::shared_ptr<core::Device> device = nullptr, int64_t index = 0);
    // Asks which key to edit ("father", "mother", "SOS", "cancel") and opens the editor for it in the shared
    // modal presenter. The sheet shown is answered.
    static std::shared_ptr<ui::ActionSheet> chooseKeyAndOpen(std::shared_ptr<core::Device> device);
    // The editor opened last from the sheet in the current sign-in.
    static std::shared_ptr<FamilyNumberVC> openedFromSheet();

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    int64_t index() const { return m_index; }
    void setIndex(int64_t index) { m_index = index; }

    const std::shared_ptr<ui::Label>& lblTitle();
    const std::shared_ptr<ui::TextField>& txtNumber();
    const std::shared_ptr<ui::Button>& btnListen();
    const std::shared_ptr<ui::Button>& btnCall();
    const std::shared_ptr<ui::Button>& btnCancel();
    // The requests built by the last press of listen and of call.
    const base::DictionaryRef& dic() const { return m_dic; }
    const base::DictionaryRef& dicCall() const { return m_dicCall; }

    // The request for a key (1 to 3) with the typed number and state, the rest from the record.
    static base::DictionaryRef requestFor(
        const core::Device& device, int64_t index, const std::string& typed, int64_t state);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void clickListen();
    void clickCall();
    void clickCancel();

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;

private:
    void send(int64_t state);
    static void settle(const std::shared_ptr<core::Device>& device, int64_t index, const std::string& typed,
        int64_t state, bool accepted);

    std::shared_ptr<core::Device> m_deviceDetail;
    int64_t m_index { 0 };
    base::DictionaryRef m_dic;
    base::DictionaryRef m_dicCall;
    std::shared_ptr<ui::Label> m_lblTitle;
    std::shared_ptr<ui::TextField> m_txtNumber;
    std::shared_ptr<ui::Button> m_btnListen;
    std::shared_ptr<ui::Button> m_btnCall;
    std::shared_ptr<ui::Button> m_btnCancel;
    NumberFieldLift m_lift { NumberFieldLift::keepBelow(100) };
};

} // namespace settings
