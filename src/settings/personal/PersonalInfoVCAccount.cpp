// The account actions of the settings centre: the password panel, push messages, clearing the stored
// messages and logging out.
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"
#include "core/helpers/KeyboardLift.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/modal/PanelReturn.h"
#include "settings/personal/PersonalInfoAlerts.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "settings/personal/PersonalInfoVC.h"
#include "ui/controls/Button.h"
#include "ui/controls/Switch.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"

#include <cmath>

namespace settings {

namespace {

    // What the panel's inner view must rise by so that the edited field clears the on-screen keyboard.
    constexpr double fieldClearance = 32;
    constexpr double liftedTop = PersonalInfoPasswordPanel::restingTop;

} // namespace

void PersonalInfoVC::showPasswordPanel()
{
    if (!m_keyboardLift) {
        m_keyboardLift = core::KeyboardLift::make(
            m_passwordView->JiaRenView(), [weak = ui::weakFrom(this)](const gfx::Rect& viewFrame, double) {
                auto self = weak.lock();
                if (!self)
                    return viewFrame.minY();
                auto overlap
                    = std::trunc(fieldClearance - (viewFrame.height() - ui::Keyboard::shared().shownFrame().height()));
                return overlap >= 1 ? liftedTop - overlap : viewFrame.minY();
            });
    }
    m_keyboardLift->start();
    kit::ModalPresenter::sharedInstance()->showWithContentView(m_passwordView, true);
}

void PersonalInfoVC::hidePasswordPanel()
{
    ui::Keyboard::shared().endEditing(m_passwordView.get());
    if (m_keyboardLift)
        m_keyboardLift->stop();
    kit::ModalPresenter::sharedInstance()->hideAnimated(true);
}

void PersonalInfoVC::clickbtn(ui::Button& sender)
{
    if (sender.tag() != PersonalInfoPasswordPanel::submitTag) {
        hidePasswordPanel();
        return;
    }
    submitPassword();
}

void PersonalInfoVC::submitPassword()
{
    const std::string& oldPassword = m_passwordView->OldPasswordNum()->text();
    const std::string& newPassword = m_passwordView->NewNum()->text();
    const std::string& confirmation = m_passwordView->SureNum()->text();
    if (oldPassword.empty() || newPassword.empty() || confirmation.empty()) {
        // On the panel itself: the presenter's window covers this screen's view.
        core::Helper::showNotify(false, base::localized("no_null_password"), m_passwordView, {});
        return;
    }
    // The password of this session, whether or not the sign-in remembered it.
    if (oldPassword != core::RememberedAccount::sessionPassword()) {
        PersonalInfoAlerts::prompt("password_input_wrong");
        return;
    }
    if (newPassword != confirmation) {
        PersonalInfoAlerts::prompt("two_password_difference");
        return;
    }
    std::string account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2).value_or("");
    auto parameters
        = base::Dictionary::make({ { "old_pwd", oldPassword }, { "new_pwd", newPassword }, { "LoginName", account } });
    // Until the answer comes, the change may or may not be made: the next sign-in may need either password.
    core::RememberedAccount::passwordChangeSent(account, oldPassword, newPassword);
    send(
        "UpdatePassword", parameters,
        [](PersonalInfoVC& self, const std::string& reply) { self.passwordAnswered(isPasswordChanged(reply)); },
        [](PersonalInfoVC&) { PersonalInfoAlerts::prompt("change_password_failed"); },
        // The service has the new password of that account from now on, so its stores must follow, screen or
        // not, whoever has signed in since.
        [account, oldPassword, newPassword](const std::string& reply) {
            core::RememberedAccount::passwordChangeAnswered(account);
            if (isPasswordChanged(reply))
                core::RememberedAccount::passwordChanged(account, oldPassword, newPassword);
        });
    m_passwordView->keepTextsThroughNextClose();
    hidePasswordPanel();
}

bool PersonalInfoVC::isPasswordChanged(const std::string& reply)
{
    // Only a text counts as a changed password: a number, a boolean or null is a refusal.
    auto result = core::Tool::readChangePwdResultFromJson(reply);
    const std::string* text = result ? result->string() : nullptr;
    return text && !text->empty();
}

void PersonalInfoVC::passwordAnswered(bool changed)
{
    if (!changed) {
        PersonalInfoAlerts::prompt("change_password_failed");
        return;
    }
    m_passwordView->forgetTexts();
    PersonalInfoAlerts::prompt("change_password_success", ui::weakFrom(this), passwordChangedAlertTag);
}

void PersonalInfoVC::returnToLogin()
{
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::ShowLogin);
}

void PersonalInfoVC::textFieldDidBeginEditing(ui::TextField& field)
{
    field.setReturnKeyType(ui::ReturnKeyType::Done);
    if (m_keyboardLift)
        m_keyboardLift->stop();
    double fieldY = field.frame().minY();
    m_keyboardLift
        = core::KeyboardLift::make(m_passwordView->JiaRenView(), [fieldY](const gfx::Rect& viewFrame, double) {
              auto overlap = std::trunc(
                  (fieldY + fieldClearance) - (viewFrame.height() - ui::Keyboard::shared().shownFrame().height()));
              return overlap >= 1 ? liftedTop - overlap : viewFrame.minY();
          });
    m_keyboardLift->start();
}

bool PersonalInfoVC::textFieldShouldReturn(ui::TextField& field)
{
    // The password panel's fields are the screen's only ones.
    return kit::returnInPanel(field,
        { m_passwordView->OldPasswordNum(), m_passwordView->NewNum(), m_passwordView->SureNum() },
        m_passwordView->done());
}

void PersonalInfoVC::messagePushChanged(ui::Switch& sender)
{
    core::Helper::saveSettingValue(base::Value(sender.isOn() ? "1" : "0"), core::SettingsKeys::NotificationSwitch);
    std::optional<std::string> token;
    if (sender.isOn())
        token = base::UserDefaults::standard().stringForKey(core::SettingsKeys::DeviceToken);
    core::Helper::uploadDeviceToken(token);
}

void PersonalInfoVC::showClearDataSheet()
{
    m_clearDataSheet = std::make_shared<ui::ActionSheet>(std::nullopt, ui::weakFrom(this), base::localized("cancel"),
        base::localized("sure_del"), std::vector<std::string> { base::localized("remove") });
    m_clearDataSheet->showInView(view());
}

void PersonalInfoVC::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex)
{
    // Both the destructive "sure_del" and "remove" clear; "cancel" does not.
    if (buttonIndex != sheet.cancelButtonIndex())
        clearStoredMessages();
}

// Only the signed-in account's messages go: another account's stay for its next sign-in, since the service hands
// a message out once.
void PersonalInfoVC::clearStoredMessages()
{
    std::string account = core::SignInSession::current().account;
    if (account.empty())
        return;
    if (!core::DBManager::deleteMessagesOfAccount(account, core::Singleton::shared().lastSerialnumber()))
        base::log("settings: the stored messages could not be cleared");
}

void PersonalInfoVC::clickLogout() { core::Logout::logOut(); }

} // namespace settings
