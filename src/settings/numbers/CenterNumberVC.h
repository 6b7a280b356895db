// settings::CenterNumberVC: the centre-number panel, shown in the shared modal presenter: one field, cancel
// and done (which Return in the field presses). Type 4 sends "MorvikSetCenterNo" (only the accepted text is a success),
// type 3 sends "QuennSetCenter", whose reply text the service words itself and the alert shows as it is (a reply
// without such a text shows "failure"); other types, 6 included, send nothing. The status bar's network
// indicator is on while a request is out. Done and cancel close the panel at once; the panel opens empty
// each time. Main thread; made with make().
//
//   settings::NumberPanelParts::present(settings::CenterNumberVC::make(device));
#pragma once

#include "core/records/Device.h"
#include "settings/numbers/NumberFieldLift.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>

namespace settings {

class CenterNumberVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr const char* MorvikMethod = "MorvikSetCenterNo";
    static constexpr const char* QuennMethod = "QuennSetCenter";

    static std::shared_ptr<CenterNumberVC> make(std::shared_ptr<core::Device> device = nullptr);

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    const NumberPanelParts::SingleNumberPanel& parts();
    const std::shared_ptr<ui::TextField>& centerNumberText() { return parts().field; }

    void viewDidLoad() override;

    void setCenterNumberForQuenn();
    void dismissView();

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void textFieldDidEndEditing(ui::TextField& field) override;

private:
    void doCenterNumberForSorby(const std::string& typed);
    void doCenterNumberForQuenn(const std::string& typed);

    std::shared_ptr<core::Device> m_deviceDetail;
    NumberPanelParts::SingleNumberPanel m_parts;
    NumberFieldLift m_lift { NumberFieldLift::keepBelow(100) };
};

} // namespace settings
