// settings::ListenNumberVC: the listen-number panel, shown in the shared modal presenter: one field, cancel
// and done (which Return in the field presses). The device's type picks the request: type 4 sends "MorvikSetListen",
// types 3 and 6 send the Quenn numbers with this one as the fourth ("QuennSetPhoneNumber"), other types send nothing.
// Done and cancel close the panel at once; the outcome comes as an alert, and only an accepted Quenn number is written
// into the record (sOSNum4). Each time it is about to appear the field shows the stored Quenn listen number (types 3,
// 6), or nothing (type 4). Main thread; made with make().
//
//   auto panel = settings::ListenNumberVC::make(device);
//   settings::NumberPanelParts::present(panel);
#pragma once

#include "core/records/Device.h"
#include "settings/numbers/NumberFieldLift.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>

namespace settings {

class ListenNumberVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr const char* MorvikMethod = "MorvikSetListen";

    static std::shared_ptr<ListenNumberVC> make(std::shared_ptr<core::Device> device = nullptr);

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    const NumberPanelParts::SingleNumberPanel& parts();
    const std::shared_ptr<ui::TextField>& phoneNumberText() { return parts().field; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void setListenPhoneNumber();
    void dismissView();

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;

private:
    void listenNumberForSorby(const std::string& typed);
    void listenNumberForQuenn(const std::string& typed);
    int64_t deviceType() const;

    std::shared_ptr<core::Device> m_deviceDetail;
    NumberPanelParts::SingleNumberPanel m_parts;
    NumberFieldLift m_lift { NumberFieldLift::keepBelow(100) };
};

} // namespace settings
