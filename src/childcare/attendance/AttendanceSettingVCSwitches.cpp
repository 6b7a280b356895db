// The attendance settings' two switches: the attendance notice ("LumetCowNotiControl") and the RFID
// attendance function ("LumetRFIDControl"). The shared configuration changes only on an accepted command;
// after a refusal or a failure the rows are drawn again from it, so the switch shows what the watch has.
#include "childcare/attendance/AttendanceSettingVC.h"

#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/folder/FolderTableView.h"
#include "ui/controls/Switch.h"

namespace childcare {

namespace {

    void showAlert(const std::string& title, const char* messageKey)
    {
        auto alert = std::make_shared<ui::AlertView>(
            title, base::localized(messageKey), std::weak_ptr<ui::AlertViewDelegate>(), base::localized("done"));
        alert->show();
    }

} // namespace

void AttendanceSettingVC::changeSwitchValue(ui::Control& sender)
{
    auto* control = dynamic_cast<ui::Switch*>(&sender);
    if (!control || (sender.tag() != noticeSwitchTag && sender.tag() != rfidSwitchTag))
        return;
    sendSwitch(sender.tag(), control->isOn());
}

void AttendanceSettingVC::sendSwitch(int tag, bool on)
{
    std::string serial = core::Singleton::shared().lastSerialnumber();
    bool notice = tag == noticeSwitchTag;
    auto parameters = notice
        ? base::Dictionary::make({ { "Serialnumber", serial }, { "type", on ? "01" : "00" } })
        : base::Dictionary::make({ { "Serialnumber", serial }, { "Flag", on ? "true" : "false" } });
    core::WebCall::post(
        notice ? "LumetCowNotiControl" : "LumetRFIDControl", parameters,
        [weak = ui::weakFrom(this), tag, on](const std::string& reply) {
            if (auto self = weak.lock())
                self->switchAnswered(
                    tag, on, core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [weak = ui::weakFrom(this), tag, on](const base::Error&) {
            if (auto self = weak.lock())
                self->switchAnswered(tag, on, false);
        });
}

void AttendanceSettingVC::switchAnswered(int tag, bool on, bool accepted)
{
    if (!accepted) {
        core::showPromptAlert("failure");
        m_tableView->reloadData();
        return;
    }
    core::LumetDeviceConfig* config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig.get() : nullptr;
    if (tag == noticeSwitchTag) {
        if (config)
            config->cowNoti = on ? "01" : "00";
        showAlert(base::localized("attendance_noti"), on ? "sms_noti_open" : "sms_noti_close");
    } else {
        if (config)
            config->rfidState = on ? "true" : "false";
        showAlert(base::localized("attendance_function_switch"), on ? "noti_function_open" : "noti_function_close");
    }
}

} // namespace childcare
