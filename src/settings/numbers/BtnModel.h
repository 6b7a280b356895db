// settings::BtnModel: one of the four small round buttons of the home screen's family-number fan (father,
// mother, SOS, listen), 40 x 40 with its picture. Its name tells which number it edits (the localised
// "father", "mother", "listen", or the literal "SOS"). It holds the current device record: Singleton's at
// creation, then each one posted as "posetDevice", and none from the moment another device is made current
// until that one's is posted. A tap asks for the number in an alert with a text field (prefilled with the
// stored number, or with one the service did not take); "done" sends it as the watch number of that slot
// (LumetNumbers), with the typed text kept from that moment. Without a device record nothing is sent and
// why there is none is shown: "load_failed" when the home screen posted that the service answered but the
// record could not be read ("LumetDeviceDetailNotLoaded"), else the network notice "bad_netword"; without
// its watch configuration, "failure". Main thread; made with make().
//
//   auto father = settings::BtnModel::make("dad", base::localized("father"));
//   host->addSubview(father);
#pragma once

#include "core/records/Device.h"
#include "ui/alerts/AlertView.h"
#include "ui/controls/Button.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class TextField;
}

namespace settings {

enum class LumetSlot;

class BtnModel : public ui::Button, public ui::AlertViewDelegate {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr double side = 40;
    // What a tap without a record says while the home screen has posted no failure for the record.
    static constexpr const char* recordOnItsWayReason = "bad_netword";

    static std::shared_ptr<BtnModel> make(const std::string& imageName, std::string name);
    BtnModel(Private, std::string name);
    ~BtnModel() override;

    const std::string& name() const { return m_name; }
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device);
    // The text field of the entry alert open or opened last.
    const std::shared_ptr<ui::TextField>& newText() const { return m_newText; }
    // The slot the name stands for; nothing for a name that matches none.
    [[nodiscard]] std::optional<LumetSlot> slot() const;

    // Opens the entry alert.
    void clickbtn();
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

private:
    std::string m_name;
    std::shared_ptr<core::Device> m_deviceDetail;
    // Why there is no record, as the home screen last posted it; until it posts a failure the record is on its
    // way, and the network is what holds it up.
    std::string m_notLoadedReason { recordOnItsWayReason };
    std::shared_ptr<ui::TextField> m_newText;
};

} // namespace settings
