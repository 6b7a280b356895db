// The device commands of the settings centre: rename, factory reset, restart and switch-off, the sleep timer,
// the firewall and the key lock.
#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/helpers/Helper.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "settings/personal/PersonalInfoAlerts.h"
#include "settings/personal/PersonalInfoVC.h"
#include "ui/controls/Button.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableView.h"
#include "ui/controls/TextField.h"

namespace settings {

namespace {

    bool isAccepted(const std::string& reply)
    {
        return core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply));
    }

    std::string currentSerialNumber() { return core::Singleton::shared().lastSerialnumber(); }

    // The device is switched off: the command is refused on the phone.
    bool refuseWhenOff(const core::Device* device)
    {
        if (!device || !device->isSwitchedOff())
            return false;
        PersonalInfoAlerts::prompt("device_off_operation_failed");
        return true;
    }

    // A switch set back to what its record says, as the row draws it: on for a stored 1 only.
    void setBack(ui::Switch* control, std::optional<int64_t> stored)
    {
        if (control)
            control->setOn(stored == 1);
    }

    std::shared_ptr<core::LumetDeviceConfig> globalConfig()
    {
        auto global = core::Singleton::shared().deviceDetail();
        return global ? global->lumetDeviceConfig : nullptr;
    }

} // namespace

void PersonalInfoVC::askNewDeviceName()
{
    auto alert = std::make_shared<ui::AlertView>(base::localized("prompt"), base::localized("input_new_device_name"),
        ui::weakFrom(this), base::localized("cancel"), std::vector<std::string> { base::localized("done") });
    alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
    alert->setTag(renameAlertTag);
    alert->show();
}

void PersonalInfoVC::askFactoryReset()
{
    auto alert = std::make_shared<ui::AlertView>(std::nullopt, base::localized("sure_factory"), ui::weakFrom(this),
        base::localized("cancel"), std::vector<std::string> { base::localized("done") });
    alert->setTag(factoryResetAlertTag);
    alert->show();
}

void PersonalInfoVC::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex)
{
    switch (alert.tag()) {
    case renameAlertTag:
        if (buttonIndex == 1) {
            auto field = alert.textFieldAtIndex(0);
            rename(field ? field->text() : std::string());
        }
        return;
    case factoryResetAlertTag:
        if (buttonIndex == 1)
            factoryReset();
        return;
    case passwordChangedAlertTag:
        return returnToLogin();
    default:
        return;
    }
}

void PersonalInfoVC::rename(const std::string& name)
{
    std::string serialNumber = currentSerialNumber();
    send(
        "UpdateDeviceName", base::Dictionary::make({ { "Serialnumber", serialNumber }, { "DeviceName", name } }),
        [](PersonalInfoVC& self, const std::string& reply) { self.renameAnswered(isAccepted(reply)); },
        [](PersonalInfoVC& self) { self.renameAnswered(false); },
        [serialNumber, name](const std::string& reply) {
            if (isAccepted(reply))
                storeDeviceName(serialNumber, name);
        });
}

void PersonalInfoVC::storeDeviceName(const std::string& serialNumber, const std::string& name)
{
    // Without that device's stored row (none, or another device picked or account signed in since) there is
    // nothing to rename locally; the server has the name.
    auto stored = core::DBManager::readSingleMobileDevice();
    if (!stored || stored->serialNumber != serialNumber)
        return;
    stored->DeviceName = name;
    if (!core::DBManager::saveOrUpdataMobileDeviceDB(*stored))
        base::log("settings: the new device name could not be stored; the server has it");
}

void PersonalInfoVC::renameAnswered(bool accepted)
{
    m_tableView->reloadData();
    PersonalInfoAlerts::prompt(accepted ? "setting_success" : "setting_failed");
}

void PersonalInfoVC::factoryReset()
{
    send(
        "LumetFactory", base::Dictionary::make({ { "Serialnumber", currentSerialNumber() } }),
        [](PersonalInfoVC&, const std::string& reply) {
            PersonalInfoAlerts::prompt(isAccepted(reply) ? "restore_success" : "restore_failed");
        },
        [](PersonalInfoVC&) { PersonalInfoAlerts::prompt("restore_failed"); });
}

void PersonalInfoVC::clickPowerManage(ui::Button& sender)
{
    if (sender.tag() != rebootTag && sender.tag() != shutdownTag)
        return;
    if (refuseWhenOff(m_deviceDetail.get()))
        return;
    int64_t power = sender.tag() == rebootTag ? 1 : 0;
    send(
        "LumetRemotePowerSet",
        base::Dictionary::make({ { "Serialnumber", currentSerialNumber() }, { "power", power } }),
        [](PersonalInfoVC&, const std::string& reply) {
            PersonalInfoAlerts::untitled(isAccepted(reply) ? "success" : "failure");
        },
        [](PersonalInfoVC&) { PersonalInfoAlerts::untitled("failure"); });
}

void PersonalInfoVC::sleepTimerChanged(ui::Switch& sender)
{
    if (refuseWhenOff(m_deviceDetail.get())) {
        setSleepTimerSwitchBack();
        return;
    }
    bool on = sender.isOn();
    auto parameters = base::Dictionary::make({
        { "Serialnumber", currentSerialNumber() },
        { "flag", on ? 1 : 0 },
        { "OpenHour", m_entity->onHour.value_or(0) },
        { "OpenMin", m_entity->onMin.value_or(0) },
        { "CloseHour", m_entity->offHour.value_or(0) },
        { "CloseMin", m_entity->offMin.value_or(0) },
    });
    send(
        "LumetSetSleepTime", parameters,
        [on](PersonalInfoVC& self, const std::string& reply) { self.sleepTimerAnswered(on, isAccepted(reply)); },
        [on](PersonalInfoVC& self) { self.sleepTimerAnswered(on, false); });
}

void PersonalInfoVC::sleepTimerAnswered(bool on, bool accepted)
{
    if (!accepted) {
        PersonalInfoAlerts::untitled("setting_failed");
        setSleepTimerSwitchBack();
        return;
    }
    m_entity->powerState = on ? 1 : 0;
    if (m_deviceDetail && m_deviceDetail->lumetDeviceConfig)
        m_deviceDetail->lumetDeviceConfig->powerState = on ? 1 : 0;
    PersonalInfoAlerts::untitled("setting_success");
}

void PersonalInfoVC::setSleepTimerSwitchBack() { setBack(m_sleepTimerBtn.get(), m_entity->powerState); }

void PersonalInfoVC::firewallChanged(ui::Switch& sender)
{
    bool on = sender.isOn();
    send(
        "LumetFireWallSetting",
        base::Dictionary::make({ { "Serialnumber", currentSerialNumber() }, { "Flag", on ? "true" : "false" } }),
        [on](PersonalInfoVC& self, const std::string& reply) { self.firewallAnswered(on, isAccepted(reply)); },
        [on](PersonalInfoVC& self) { self.firewallAnswered(on, std::nullopt); });
}

void PersonalInfoVC::firewallAnswered(bool on, const std::optional<bool>& accepted)
{
    if (!accepted || !*accepted) {
        if (!accepted)
            core::Helper::showNotify(false, base::localized("bad_netword"), view(), {});
        else
            PersonalInfoAlerts::prompt("failure");
        setFirewallSwitchBack();
        return;
    }
    if (m_deviceDetail && m_deviceDetail->lumetDeviceConfig)
        m_deviceDetail->lumetDeviceConfig->fangHuoQiang = core::ConfigText(on ? "true" : "false");
    if (on)
        PersonalInfoAlerts::titled("firewall_open", "only_family_protection_num_can_call");
    else
        PersonalInfoAlerts::titled("firewall_close", "any_num_can_call");
}

void PersonalInfoVC::setFirewallSwitchBack()
{
    if (m_firewallSwitch)
        m_firewallSwitch->setOn(PersonalInfoRows::firewallIsOn(m_deviceDetail.get()));
}

void PersonalInfoVC::keyLockChanged(ui::Switch& sender)
{
    if (refuseWhenOff(core::Singleton::shared().deviceDetail().get())) {
        setKeyLockSwitchBack();
        return;
    }
    bool on = sender.isOn();
    std::string serialNumber = currentSerialNumber();
    send(
        "LumetKeylockSet", base::Dictionary::make({ { "Serialnumber", serialNumber }, { "klock", on ? 1 : 0 } }),
        [on](PersonalInfoVC& self, const std::string& reply) { self.keyLockAnswered(on, isAccepted(reply)); },
        [on](PersonalInfoVC& self) { self.keyLockAnswered(on, false); },
        [serialNumber, on](const std::string& reply) {
            if (isAccepted(reply))
                storeKeyLock(serialNumber, on);
        });
}

void PersonalInfoVC::storeKeyLock(const std::string& serialNumber, bool on)
{
    // The global record may be another device's by the time the reply comes.
    auto global = core::Singleton::shared().deviceDetail();
    if (global && global->serialNumber == serialNumber && global->lumetDeviceConfig)
        global->lumetDeviceConfig->keyLockState = on ? 1 : 0;
}

void PersonalInfoVC::keyLockAnswered(bool on, bool accepted)
{
    if (!accepted) {
        PersonalInfoAlerts::untitled("setting_failed");
        setKeyLockSwitchBack();
        return;
    }
    PersonalInfoAlerts::untitled(on ? "lock_success" : "unlock_success");
}

void PersonalInfoVC::setKeyLockSwitchBack()
{
    auto config = globalConfig();
    setBack(m_btnLock.get(), config ? config->keyLockState : std::nullopt);
}

} // namespace settings
