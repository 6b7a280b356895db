// settings::PersonalInfoVC: the settings centre, opened by the drawer menu's settings button and swipe. One
// grouped table whose rows follow the type of the stored current device (PersonalInfoRows): renaming the device,
// the password panel, factory reset, the sleep timer with its power schedule, restart and switch-off, the firewall
// or the key lock, clearing the signed-in account's stored messages, push messages, feedback and the about screen;
// types 41, 43 and 44 also get a logout button.
//
// Two device records are in play: the screen's own (handed over by the opener, replaced by each readable
// "GetDeviceDetial" reply, asked for on every appearance) serves the firewall, the sleep timer and the power
// buttons; the key lock reads and writes the global current record (core::Singleton). The power schedule
// (DeviceOnAndOfEntity) is built once when the view loads and shared with the schedule screen.
//
// Commands succeed only on the accepted-command text; a switch whose command is refused or fails is set back
// from its record, so it never shows a state the device lacks. What a reply changes beyond the screen (the
// remembered password, the stored device name, the global key-lock state) is applied even when the reply
// comes after the screen has gone, to the account or device the command was sent for, never to one made
// current since; the rest of such a reply is dropped. Main thread; made with make().
//
//   auto settings = settings::PersonalInfoVC::make(device);
//   drawer->setCenterViewControllerWithCloseAnimation(shell::NavViewController::withRootViewController(settings),
//   true);
#pragma once

#include "childcare/device/DeviceOnAndOfEntity.h"
#include "core/records/Device.h"
#include "settings/personal/PersonalInfoRows.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/alerts/AlertView.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class Switch;
class TableView;
}

namespace core {
class KeyboardLift;
}

namespace settings {

class PersonalInfoPasswordPanel;

class PersonalInfoVC : public ui::ViewController,
                       public ui::TableViewDataSource,
                       public ui::TableViewDelegate,
                       public ui::AlertViewDelegate,
                       public ui::ActionSheetDelegate,
                       public ui::TextFieldDelegate {
public:
    static constexpr double rowHeight = 60;
    static constexpr double headerHeight = 30;
    static constexpr int renameAlertTag = 77;
    static constexpr int factoryResetAlertTag = 76;
    static constexpr int passwordChangedAlertTag = 74;
    static constexpr int sleepTimerTag = 400;
    static constexpr int messagePushTag = 401;
    static constexpr int firewallTag = 402;
    static constexpr int keyLockTag = 403;
    static constexpr int rebootTag = 500;
    static constexpr int shutdownTag = 501;

    static std::shared_ptr<PersonalInfoVC> make(std::shared_ptr<core::Device> device);

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    // Empty until the view has loaded.
    const std::shared_ptr<childcare::DeviceOnAndOfEntity>& deviceOnAndOfEntity() const { return m_entity; }

    const std::shared_ptr<ui::TableView>& tableView();
    const std::shared_ptr<PersonalInfoPasswordPanel>& passwordView();
    // The clear-data sheet last shown, if any.
    const std::shared_ptr<ui::ActionSheet>& clearDataSheet() const { return m_clearDataSheet; }
    // The rows shown now, by section: of the stored device type read at the last reload.
    std::vector<PersonalInfoRow> rowsOfSection(int section) const;
    // Whether the device detail is being asked for.
    bool isLoadingDetail() const { return m_loadingDetail; }
    // Web calls of commands and account actions under way.
    int commandsInFlight() const { return m_commandsInFlight; }

    // Actions of the controls (also reached by touches).
    void switchValueChanged(ui::Switch& sender);
    void clickPowerManage(ui::Button& sender);
    void clickbtn(ui::Button& sender);
    void clickLogout();
    void getDeviceDetail();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::string titleForHeaderInSection(ui::TableView&, int section) override;
    std::optional<double> heightForHeaderInSection(ui::TableView&, int section) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, ui::IndexPath path) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex) override;

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

    // The type that chooses the rows: the stored current-device row's, 0 without one.
    static int64_t storedDeviceType();

private:
    using Reply = std::function<void(PersonalInfoVC& self, const std::string& reply)>;
    using Failure = std::function<void(PersonalInfoVC& self)>;
    // What a reply changes outside the screen; it runs before `Reply`, whether or not the screen still exists.
    using Lasting = std::function<void(const std::string& reply)>;

    // Set-up and table (PersonalInfoVC.cpp).
    void setupLeftMenuButton();
    void setupLogoutButton();
    void detailArrived(const std::string& reply);
    void detailFailed();
    std::shared_ptr<ui::TableViewCell> makeCell(ui::TableView& table, PersonalInfoRow row);
    std::shared_ptr<ui::TableViewCell> makeSwitchCell(PersonalInfoRow row);
    std::shared_ptr<ui::TableViewCell> makePowerCell();
    std::shared_ptr<ui::Switch> addSwitch(ui::TableViewCell& cell, int tag, bool on);
    void selectRow(PersonalInfoRow row);
    void openPowerSchedule();
    void openAbout();
    // Posts a web method; the reply or failure reaches this screen while it lives, `lasting` every reply.
    void send(const char* method, base::DictionaryRef parameters, Reply reply, Failure failure, Lasting lasting = {});

    // Device commands (PersonalInfoVCCommands.cpp).
    void askNewDeviceName();
    void askFactoryReset();
    void rename(const std::string& name);
    static void storeDeviceName(const std::string& serialNumber, const std::string& name);
    void renameAnswered(bool accepted);
    void factoryReset();
    void sleepTimerChanged(ui::Switch& sender);
    void sleepTimerAnswered(bool on, bool accepted);
    void firewallChanged(ui::Switch& sender);
    void firewallAnswered(bool on, const std::optional<bool>& accepted);
    void keyLockChanged(ui::Switch& sender);
    static void storeKeyLock(const std::string& serialNumber, bool on);
    void keyLockAnswered(bool on, bool accepted);
    void setSleepTimerSwitchBack();
    void setFirewallSwitchBack();
    void setKeyLockSwitchBack();

    // Account actions (PersonalInfoVCAccount.cpp).
    void showPasswordPanel();
    void hidePasswordPanel();
    void submitPassword();
    static bool isPasswordChanged(const std::string& reply);
    void passwordAnswered(bool changed);
    void returnToLogin();
    void messagePushChanged(ui::Switch& sender);
    void showClearDataSheet();
    void clearStoredMessages();

    std::shared_ptr<core::Device> m_deviceDetail;
    std::shared_ptr<childcare::DeviceOnAndOfEntity> m_entity;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::Switch> m_sleepTimerBtn;
    std::shared_ptr<ui::Switch> m_firewallSwitch;
    std::shared_ptr<ui::Switch> m_btnLock;
    std::shared_ptr<PersonalInfoPasswordPanel> m_passwordView;
    std::shared_ptr<ui::ActionSheet> m_clearDataSheet;
    // Lifts the password panel's inner view while the keyboard is up, by the field being edited.
    std::shared_ptr<core::KeyboardLift> m_keyboardLift;
    // The stored device type the table's rows were last counted for; empty before the first reload.
    std::optional<int64_t> m_rowsDeviceType;
    bool m_loadingDetail { false };
    int m_commandsInFlight { 0 };
};

} // namespace settings
