// The account actions of the settings centre: the password panel's checks and the change against the
// service (also after a sign-in that did not remember the password, and twice in a row), push messages,
// clearing the stored messages and the logout.
#include "SettingsFixture.h"

#include "base/loop/NotificationCenter.h"
#include "core/state/NotificationNames.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/overlay/NoticeOverlay.h"
#include "kit/widgets/CheckBoxView.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "ui/alerts/ActionSheet.h"
#include "ui/controls/Button.h"

namespace {

using Row = settings::PersonalInfoRow;
using tracking_service::Fault;

class SettingsAccount : public test::SettingsTest {
protected:
    void openSettingsWithoutRemembering()
    {
        launch();
        fill(account, password);
        login()->rememberBox()->setChecked(false);
        signIn();
        ASSERT_TRUE(container());
        makeCurrent(watch, 36);
        menu()->openSettings();
        ASSERT_TRUE(pumpUntil([this] { return settings() && !settings()->isLoadingDetail(); }));
        pass(1);
    }
    const std::shared_ptr<settings::PersonalInfoPasswordPanel>& panel() { return settings()->passwordView(); }
    void submit(const std::string& old, const std::string& fresh, const std::string& again)
    {
        tapRow(Row::ChangePassword);
        pass(1);
        panel()->OldPasswordNum()->setText(old);
        panel()->NewNum()->setText(fresh);
        panel()->SureNum()->setText(again);
        tap(panel()->done());
        waitForCommands();
        pass(1);
    }
    bool panelShown() { return panel()->window() != nullptr; }

    // Stores a message from `device` to `owner` in the chat tables and the message centre's.
    static void storeMessage(const char* owner, const char* device)
    {
        core::UserMessageQuery message;
        message.id_ = std::string(owner) + "-" + device;
        message.from = device;
        message.to = owner;
        message.userName = owner;
        message.context = "hello";
        message.createTime = base::Date::now();
        ASSERT_TRUE(core::DBManager::saveOrUpdataUserChatQuery(message));
        ASSERT_TRUE(core::DBManager::saveOrUpdataUserMessageQuery(message));
    }
};

TEST_F(SettingsAccount, ThePanelChecksItsFieldsBeforeSendingAnything)
{
    openSettings();
    tapRow(Row::ChangePassword);
    pass(1);
    panel()->OldPasswordNum()->setText(password);
    panel()->NewNum()->setText("");
    panel()->SureNum()->setText("");
    tap(panel()->done());
    clock->advance(0.6s);
    // The notice shows on the panel, in the presenter's window above the screen, where the user looks.
    std::shared_ptr<kit::NoticeOverlay> notice;
    for (const auto& view : panel()->subviews())
        if (auto found = std::dynamic_pointer_cast<kit::NoticeOverlay>(view))
            notice = found;
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->window(), kit::ModalPresenter::sharedInstance()->window());
    EXPECT_TRUE(textInRegion(localized("no_null_password"), { 0, 0, 320, 568 }));
    pass(2);
    EXPECT_FALSE(shownAlert());
    EXPECT_TRUE(panelShown());
    submit(password, "new-one", "");
    EXPECT_FALSE(shownAlert());
    submit("wrong", "new-one", "new-one");
    EXPECT_EQ(takeAlertMessage(), localized("password_input_wrong"));
    submit(password, "new-one", "new-two");
    EXPECT_EQ(takeAlertMessage(), localized("two_password_difference"));
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(requestsTo("UpdatePassword"), 0u);

    tap(panel()->cancel());
    pass(1);
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(panel()->NewNum()->text(), "") << "a cancelled panel forgets the typed passwords";
}

TEST_F(SettingsAccount, ThePanelRisesByTheEditedFieldWhileTheKeyboardIsUp)
{
    openSettings();
    tapRow(Row::ChangePassword);
    pass(1);
    const auto& inner = panel()->JiaRenView();
    double resting = inner->frame().minY();
    ASSERT_EQ(resting, settings::PersonalInfoPasswordPanel::restingTop);
    auto field = panel()->SureNum();
    ASSERT_TRUE(field->becomeFirstResponder());
    pass(1);
    double overlap = std::trunc((field->frame().minY() + 32) - (inner->frame().height() - 216));
    EXPECT_EQ(inner->frame().minY(), settings::PersonalInfoPasswordPanel::restingTop - overlap);
    EXPECT_EQ(field->returnKeyType(), ui::ReturnKeyType::Done);
    field->resignFirstResponder();
    pass(1);
    EXPECT_EQ(inner->frame().minY(), resting);
}

TEST_F(SettingsAccount, AChangeAfterASignInWithoutRememberingThenASecondChange)
{
    openSettingsWithoutRemembering();
    int shownLogin = 0;
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::ShowLogin, nullptr, [&](const base::Notification&) { ++shownLogin; }, this);

    submit(password, "second-pass", "second-pass");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(alertTitle(), localized("prompt"));
    EXPECT_EQ(shownAlert()->message(), localized("change_password_success"));
    EXPECT_EQ(panel()->NewNum()->text(), "") << "an accepted change forgets the typed passwords";
    auto body = lastBody("UpdatePassword");
    EXPECT_EQ(body->objectForKey("old_pwd")->stringValue(), password);
    EXPECT_EQ(body->objectForKey("new_pwd")->stringValue(), "second-pass");
    EXPECT_EQ(body->objectForKey("LoginName")->stringValue(), account);
    EXPECT_TRUE(service.store().checkPassword(account, "second-pass"));
    tapAlertButton(0);
    EXPECT_EQ(shownLogin, 1);
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    // Nothing is cleared on the way to the login screen.
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::LastSerialNumber), watch);

    // Signed in again with the new password, the next change takes it as the old one.
    pass(1);
    fill(account, "second-pass");
    signIn();
    ASSERT_TRUE(container());
    menu()->openSettings();
    ASSERT_TRUE(pumpUntil([this] { return settings() && !settings()->isLoadingDetail(); }));
    pass(1);
    submit("second-pass", "third-pass", "third-pass");
    EXPECT_EQ(takeAlertMessage(), localized("change_password_success"));
    EXPECT_TRUE(service.store().checkPassword(account, "third-pass"));
    base::NotificationCenter::defaultCenter().removeObservers(this);
}

TEST_F(SettingsAccount, OnlyATextReplyCountsAsAChangedPassword)
{
    openSettings();
    for (const auto& fault : { Fault::payload(base::Value(1)), Fault::payload(base::Value(true)), Fault::nullPayload(),
             Fault::payload(base::Value("")), Fault::noPayload(), Fault::dropConnection(), Fault::status(500) }) {
        service.faults().set("UpdatePassword", fault);
        submit(password, "not-kept", "not-kept");
        EXPECT_EQ(takeAlertMessage(), localized("change_password_failed"));
        // What the user typed stays for another try.
        EXPECT_EQ(panel()->NewNum()->text(), "not-kept");
    }
    EXPECT_TRUE(service.store().checkPassword(account, password));
}

TEST_F(SettingsAccount, ThePushSwitchKeepsTheSettingAndSendsTheBlankTokenWithoutOne)
{
    openSettings();
    auto push = switchOf(Row::MessagePush);
    ASSERT_TRUE(push);
    bool wasOn = push->isOn();
    flip(push);
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("SaveAppleToken") >= 1; }));
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::NotificationSwitch), wasOn ? "0" : "1");
    EXPECT_EQ(lastBody("SaveAppleToken")->objectForKey("Token")->stringValue(), " ");
}

TEST_F(SettingsAccount, EitherDeleteButtonOfTheSheetClearsTheMessagesButCancelDoesNot)
{
    openSettings();
    auto chatCount = [] { return core::DBManager::selectUserChatQueryByUserName(account, account, watch).size(); };
    for (int button : { 2, 0, 1 }) {
        storeMessage(account, watch);
        size_t before = chatCount();
        ASSERT_GT(before, 0u);
        tapRow(Row::ClearCache);
        auto sheet = settings()->clearDataSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        EXPECT_EQ(sheet->buttonTitleAtIndex(0), localized("sure_del"));
        EXPECT_EQ(sheet->buttonTitleAtIndex(2), localized("cancel"));
        tap(sheet->buttonAtIndex(button));
        pass(1);
        EXPECT_EQ(chatCount(), button == 2 ? before : 0u) << button;
    }
}

// The service hands a message out once: another parent's stored messages, kept for that parent's next
// sign-in, survive a clear by the signed-in parent, whose own messages go.
TEST_F(SettingsAccount, ClearingDeletesOnlyTheSignedInAccountsMessages)
{
    auto stored = [](const char* owner, const char* device) {
        return core::DBManager::selectUserChatQueryByUserName(owner, owner, device).size()
            + core::DBManager::selectUserMessageQueryByUserName(owner, owner, device).size();
    };
    openSettings();
    storeMessage(account, watch);
    storeMessage(otherAccount, otherWatch);
    storeMessage(otherAccount, watch);
    tapRow(Row::ClearCache);
    tap(settings()->clearDataSheet()->buttonAtIndex(1));
    pass(1);
    EXPECT_EQ(stored(account, watch), 0u);
    EXPECT_EQ(stored(otherAccount, otherWatch), 2u) << "the other parent's messages stay";
    EXPECT_EQ(stored(otherAccount, watch), 2u) << "also those of the same device";
}

TEST_F(SettingsAccount, TheBarLogoutSendsTheBlankTokenAndEndsTheSession)
{
    openSettings(tracking_service::DemoData::Watch44SerialNumber, 44);
    size_t tokens = requestsTo("SaveAppleToken");
    settings()->navigationItem()->rightBarButtonItem()->sendAction();
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    ASSERT_TRUE(pumpUntil([&] { return requestsTo("SaveAppleToken") == tokens + 1; }));
    EXPECT_EQ(lastBody("SaveAppleToken")->objectForKey("Token")->stringValue(), " ");
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::AutoLogin), "0");
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), "");
    EXPECT_FALSE(core::DBManager::readSingleMobileDevice());
}

} // namespace
