// Signing in from the login screen against the local service: what is kept of the session and the account,
// which device becomes current, the container that is presented, and how refusals and failures of every
// kind end: in an alert, with nothing presented and nothing crashed.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/system/Files.h"
#include "base/values/Array.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "kit/drawer/DrawerTypes.h"
#include "kit/overlay/ProgressOverlay.h"
#include "kit/widgets/CheckBoxView.h"
#include "tracking-service/Fault.h"
#include "ui/controls/Button.h"
#include "ui/input/TouchDriver.h"

#include <algorithm>
#include <set>

using tracking_service::Fault;

namespace {

class SignIn : public test::ShellTest {
protected:
    static std::string setting(const char* key)
    {
        return base::UserDefaults::standard().stringForKey(key).value_or("<none>");
    }
    static std::optional<std::string> keychainPassword()
    {
        return keychain::Keychain::passwordForService(base::Bundle::main().identifier(), account);
    }
    // Launches and signs in while the service fails the device list: the attempt ends in the list's alert.
    void signInWhileTheDeviceListFails()
    {
        launch();
        service.faults().set("GetDeviceList", Fault::status(503));
        fill(account, password);
        signIn();
        EXPECT_EQ(takeAlertMessage(), base::localized("get_device_failed"));
        EXPECT_FALSE(container());
        service.faults().clear();
    }
};

TEST_F(SignIn, GoodPasswordKeepsTheSessionAndAccountAndPresentsTheContainer)
{
    launch();
    fill(account, password);
    ui::TouchDriver finger;
    gfx::Rect button = login()->signInButton()->frame();
    finger.tap({ button.midX(), button.midY() });
    ASSERT_TRUE(pumpUntil([this] { return container() != nullptr; }));

    EXPECT_TRUE(setting(core::SettingsKeys::Cookie).starts_with("LumetSession="));
    EXPECT_EQ(setting(core::SettingsKeys::LoginName), account);
    EXPECT_EQ(setting(core::SettingsKeys::LoginName2), account);
    EXPECT_EQ(setting(core::SettingsKeys::Password), password);
    EXPECT_EQ(setting(core::SettingsKeys::AutoLogin), "0");
    EXPECT_EQ(keychainPassword(), password);
    EXPECT_EQ(requestsTo("Login"), 1u);
    auto login = service.requestLog().requestsTo("Login").front();
    EXPECT_NE(login.body.find(R"("Token":" ")"), std::string::npos) << login.body;

    // The first device of the list becomes current, and its row is stored for the account.
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), watch);
    EXPECT_EQ(core::Singleton::shared().deviceTypeID(), 36);
    auto stored = core::DBManager::readSingleMobileDevice();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->serialNumber, watch);
    EXPECT_EQ(shownAlert(), nullptr);

    // The remembered password is in the keychain only: neither the settings file nor the database holds it.
    ASSERT_TRUE(base::UserDefaults::standard().synchronize());
    for (const auto& file : { base::UserDefaults::standard().file(), core::DBManager::databasePath() }) {
        ASSERT_TRUE(base::Files::read(file)) << file;
        EXPECT_EQ(base::Files::read(file)->find(password), std::string::npos) << file;
    }
}

// The home screen's device detail is asked for before its views are built, in place of its appearance's own
// request: one request, after the list, and the home screen shows its reply. The detail and the first message
// poll are then on their way together, each on a connection of its own: the service may take either first.
TEST_F(SignIn, TheHomeScreenAsksForItsDeviceOnceAfterTheListAndShowsIt)
{
    launchAndSignIn();
    ASSERT_TRUE(
        pumpUntil([this] { return home() && home()->deviceDetail() && requestsTo("PopManyQueryMessage") > 0; }));

    std::vector<std::string> order;
    for (const auto& request : service.requestLog().requests()) {
        if (order.empty() || order.back() != request.endpoint)
            order.push_back(request.endpoint);
    }
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 2),
        (std::vector<std::string> { "Login", "GetDeviceList" }));
    EXPECT_EQ(std::set<std::string>(order.begin() + 2, order.begin() + 4),
        (std::set<std::string> { "GetDeviceDetial", "PopManyQueryMessage" }));
    EXPECT_EQ(requestsTo("GetDeviceDetial"), 1u);
    auto detail = service.requestLog().requestsTo("GetDeviceDetial").front();
    EXPECT_NE(detail.body.find(watch), std::string::npos) << detail.body;
    EXPECT_EQ(core::Singleton::shared().deviceDetail(), home()->deviceDetail());
}

TEST_F(SignIn, TheContainerHoldsTheHomeScreenInTheCentreAndTheMenuOnTheLeft)
{
    launchAndSignIn();
    auto drawer = container();
    auto navigation = std::dynamic_pointer_cast<shell::NavViewController>(drawer->centerViewController());
    ASSERT_TRUE(navigation);
    EXPECT_EQ(navigation->navigationBar()->barTintColor(), shell::NavViewController::barTint);
    EXPECT_TRUE(home());
    EXPECT_TRUE(menu());
    EXPECT_FALSE(drawer->rightDrawerViewController());
    EXPECT_EQ(drawer->maximumLeftDrawerWidth(), 260);
    EXPECT_TRUE(drawer->showsShadow());
    EXPECT_EQ(drawer->restorationIdentifier(), "Drawer");
    EXPECT_EQ(drawer->openDrawerGestureModeMask(), 26u);
    EXPECT_EQ(drawer->closeDrawerGestureModeMask(), 254u);
    EXPECT_EQ(drawer->openSide(), kit::DrawerSide::None);
}

TEST_F(SignIn, AWrongPasswordIsRefusedWithAnAlertAndChangesNothing)
{
    launch();
    fill(account, "wrong");
    signIn();
    EXPECT_EQ(takeAlertMessage(), base::localized("login_failed"));
    EXPECT_FALSE(container());
    EXPECT_EQ(setting(core::SettingsKeys::Cookie), "<none>");
    EXPECT_EQ(setting(core::SettingsKeys::LoginName), "<none>");
    EXPECT_FALSE(keychainPassword());
    EXPECT_EQ(requestsTo("GetDeviceList"), 0u);
}

// While the call is out the keyboard is gone and the busy overlay covers the screen; it goes with the reply.
TEST_F(SignIn, ThePressPutsUpTheBusyOverlayUntilTheReply)
{
    launch();
    fill(account, password);
    login()->passwordField()->becomeFirstResponder();
    login()->signIn();
    auto overlays = [this] {
        const auto& subviews = login()->view()->subviews();
        return std::count_if(subviews.begin(), subviews.end(),
            [](const auto& view) { return std::dynamic_pointer_cast<kit::ProgressOverlay>(view) != nullptr; });
    };
    EXPECT_TRUE(login()->isSigningIn());
    EXPECT_FALSE(login()->passwordField()->isFirstResponder());
    EXPECT_EQ(overlays(), 1);
    ASSERT_TRUE(pumpUntil([this] { return container() != nullptr; }));
    EXPECT_TRUE(pumpUntil([&] { return overlays() == 0; }));
}

TEST_F(SignIn, EmptyFieldsAskForBothWithoutCallingTheService)
{
    launch();
    fill(account, "");
    login()->signIn();
    EXPECT_FALSE(login()->isSigningIn());
    EXPECT_EQ(takeAlertMessage(), base::localized("account_password_empty"));
    EXPECT_EQ(requestsTo("Login"), 0u);
}

// Only a number from the service is its verdict on the account; an answer it could not give is not a wrong
// password, and a network failure is neither.
TEST_F(SignIn, OnlyANumberIsARefusalAndOtherFailuresSayWhatFailed)
{
    struct Case {
        const char* name;
        Fault fault;
        const char* message;
        bool waitsPastTheTimeOut = false;
    };
    const Case cases[] = {
        { "another number", Fault::payload(base::Value(2)), "login_failed" },
        { "status 500", Fault::status(500), "sign_in_unavailable" },
        { "body that is not JSON", Fault::nonJsonBody(), "sign_in_unavailable" },
        { "no payload", Fault::noPayload(), "sign_in_unavailable" },
        { "null payload", Fault::nullPayload(), "sign_in_unavailable" },
        { "text where the number belongs", Fault::refusal("1"), "sign_in_unavailable" },
        { "numeric text", Fault::payload(base::Value("2")), "sign_in_unavailable" },
        { "object", Fault::payload(base::Value(base::Dictionary::make())), "sign_in_unavailable" },
        { "array", Fault::payload(base::Value(base::Array::make({ base::Value(1), base::Value(2) }))),
            "sign_in_unavailable" },
        { "dropped connection", Fault::dropConnection(), "bad_netword" },
        { "answer after the time-out", Fault::held(), "bad_netword", true },
    };
    launch();
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        net::URLRequest::setDefaultTimeoutInterval(each.waitsPastTheTimeOut ? ShortTimeOut : RequestTimeOut);
        service.faults().set("Login", each.fault);
        fill(account, password);
        signIn();
        EXPECT_EQ(takeAlertMessage(), base::localized(each.message));
        EXPECT_FALSE(container());
        EXPECT_EQ(setting(core::SettingsKeys::Cookie), "<none>");
    }
    service.faults().clear();
    net::URLRequest::setDefaultTimeoutInterval(RequestTimeOut);
    signIn();
    EXPECT_TRUE(container());
}

// Only a readable empty list means an account without devices; a list the service could not give says so.
TEST_F(SignIn, OnlyAReadableEmptyListIsNoDevice)
{
    struct Case {
        const char* name;
        Fault fault;
        const char* message;
    };
    const Case cases[] = {
        { "status 503", Fault::status(503), "get_device_failed" },
        { "body that is not JSON", Fault::nonJsonBody(), "get_device_failed" },
        { "no payload", Fault::noPayload(), "get_device_failed" },
        { "null payload", Fault::nullPayload(), "get_device_failed" },
        { "refusal", Fault::refusal(), "get_device_failed" },
        { "object", Fault::payload(base::Value(base::Dictionary::make())), "get_device_failed" },
        { "dropped connection", Fault::dropConnection(), "bad_netword" },
        { "empty list", Fault::payload(base::Value(base::Array::make())), "no_device" },
    };
    launch();
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        service.faults().set("GetDeviceList", each.fault);
        fill(account, password);
        signIn();
        EXPECT_EQ(takeAlertMessage(), base::localized(each.message));
        EXPECT_FALSE(container());
    }
    ASSERT_TRUE(service.store().addAccount("empty", "secret"));
    service.faults().clear();
    fill("empty", "secret");
    signIn();
    EXPECT_EQ(takeAlertMessage(), base::localized("no_device")) << "the service's own empty list";
}

TEST_F(SignIn, TheStoredCurrentDeviceIsKeptWhenTheListStillHoldsIt)
{
    base::UserDefaults::standard().setObject(base::Value(account), core::SettingsKeys::LoginName2);
    core::MobileDeviceAndLocation parvo;
    parvo.serialNumber = tracking_service::DemoData::ParvoSerialNumber;
    parvo.deviceTypeID = 2;
    ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB(parvo));

    launchAndSignIn();
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), tracking_service::DemoData::ParvoSerialNumber);
    EXPECT_EQ(core::Singleton::shared().deviceTypeID(), 2);
}

// The home screen is built while the list comes, before the current device is chosen: it must still show the
// device this sign-in chose (not the one stored before), and an attempt whose list failed leaves nothing behind.
TEST_F(SignIn, TheHomeBuiltWhileTheListComesShowsTheDeviceChosenAfterIt)
{
    base::UserDefaults::standard().setObject(base::Value(account), core::SettingsKeys::LoginName2);
    core::MobileDeviceAndLocation former;
    former.serialNumber = "FORMER000001";
    former.DeviceName = "Former tracker";
    former.deviceTypeID = 2;
    ASSERT_TRUE(core::DBManager::saveOrUpdataMobileDeviceDB(former));
    signInWhileTheDeviceListFails();
    signIn();
    ASSERT_TRUE(container());
    EXPECT_EQ(home()->title(), "Lumet Watch");
    EXPECT_FALSE(home()->voiceButton()->isHidden()) << "the watch of type 36 has the voice button";
    ASSERT_TRUE(pumpUntil([this] { return home()->deviceDetail() != nullptr; }));
    EXPECT_EQ(home()->deviceDetail()->serialNumber, watch);
    EXPECT_EQ(requestsTo("GetDeviceDetial"), 1u);
}

TEST_F(SignIn, WithoutRememberingNoPasswordIsKeptAnywhere)
{
    launch();
    fill(account, password);
    login()->rememberBox()->setChecked(false);
    signIn();
    ASSERT_TRUE(container());
    EXPECT_EQ(setting(core::SettingsKeys::Password), "");
    EXPECT_FALSE(keychainPassword());
    EXPECT_FALSE(core::RememberedAccount::reLoginAccount());
    EXPECT_EQ(setting(core::SettingsKeys::LoginName), account);
}

TEST_F(SignIn, ARememberedAccountFillsTheFieldsAndAutomaticSignInRunsByItself)
{
    launch();
    fill(account, password);
    ui::TouchDriver finger;
    gfx::Rect box = login()->autoLoginBox()->frame();
    login()->rememberBox()->setChecked(false);
    finger.tap({ box.midX(), box.midY() });
    EXPECT_TRUE(login()->autoLoginBox()->checked());
    EXPECT_TRUE(login()->rememberBox()->checked()) << "automatic sign-in needs the remembered password";
    signIn();
    ASSERT_TRUE(container());
    EXPECT_EQ(setting(core::SettingsKeys::AutoLogin), "1");

    // A new start finds the account and signs in without being asked.
    application.reset();
    clock->advance(5s);
    launch();
    EXPECT_EQ(login()->accountField()->text(), account);
    EXPECT_EQ(login()->passwordField()->text(), password);
    // Transfers run on the main loop, so a quick service may have answered within the launch's own turns.
    EXPECT_TRUE(login()->isSigningIn() || container()) << "automatic sign-in did not start by itself";
    EXPECT_TRUE(pumpUntil([this] { return container() != nullptr; }));
}

TEST_F(SignIn, TheSuggestedAccountShowsOnlyWhenNoneIsRemembered)
{
    launch({ "guest", "guest-password" });
    EXPECT_EQ(login()->accountField()->text(), "guest");
    EXPECT_EQ(login()->passwordField()->text(), "guest-password");
    application.reset();

    base::UserDefaults::standard().setObject(base::Value(account), core::SettingsKeys::LoginName);
    launch({ "guest", "guest-password" });
    EXPECT_EQ(login()->accountField()->text(), account);
    EXPECT_EQ(login()->passwordField()->text(), "");
}

TEST_F(SignIn, AskedToShowItselfTheLoginScreenComesBackWithoutSigningOut)
{
    launchAndSignIn();
    EXPECT_EQ(core::RememberedAccount::sessionPassword(), password);
    std::string cookie = setting(core::SettingsKeys::Cookie);
    std::string serial = core::Singleton::shared().lastSerialnumber();

    base::NotificationCenter::defaultCenter().post(core::NotificationNames::ShowLogin);
    ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    EXPECT_EQ(setting(core::SettingsKeys::Cookie), cookie);
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), serial);
    EXPECT_TRUE(core::RememberedAccount::reLoginAccount()) << "a logout would have forgotten it";
    EXPECT_EQ(login()->accountField()->text(), account);
    EXPECT_FALSE(login()->isSigningIn()) << "automatic sign-in is off";
}

} // namespace
