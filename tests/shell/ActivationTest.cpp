// The start-up order and becoming active: the launch's settings, files and notifications, the network check
// 2.5 s later, and the silent sign-in that renews the session when an account is remembered for it, and only
// for as long as that account is the one signed in.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "core/helpers/Helper.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "kit/overlay/NoticeOverlay.h"
#include "tracking-service/Fault.h"

namespace {

class Activation : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        for (const char* name : { core::NotificationNames::RecoverFrom, core::NotificationNames::UploadReceipt })
            base::NotificationCenter::defaultCenter().addObserver(
                name, nullptr, [this](const base::Notification& posted) { heard.push_back(posted.name); }, this);
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObservers(this);
        ShellTest::TearDown();
    }

    static std::shared_ptr<kit::NoticeOverlay> noticeIn(const std::shared_ptr<ui::View>& view)
    {
        for (const auto& subview : view->subviews())
            if (auto notice = std::dynamic_pointer_cast<kit::NoticeOverlay>(subview))
                return notice;
        return nullptr;
    }

    std::vector<std::string> heard;
};

TEST_F(Activation, LaunchingPreparesStorageSettingsAndTheLoginWindow)
{
    base::UserDefaults::standard().setObject(base::Value("receipt-bytes"), core::SettingsKeys::Receipt);
    launch();

    EXPECT_TRUE(core::Singleton::shared().config());
    EXPECT_TRUE(std::filesystem::is_directory(core::Singleton::shared().messagePath()));
    EXPECT_TRUE(std::filesystem::exists(core::DBManager::databasePath()));
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::NotificationSwitch), "1");
    EXPECT_EQ(base::UserDefaults::standard().integerForKey(core::SettingsKeys::Runtimes), 1);
    EXPECT_EQ(heard, std::vector<std::string> { core::NotificationNames::UploadReceipt });
    ASSERT_TRUE(application->window());
    EXPECT_TRUE(application->window()->isKeyWindow());
    EXPECT_EQ(application->window()->rootViewController(), login());
}

TEST_F(Activation, ALaterLaunchCountsOnAndKeepsTheUsersChoices)
{
    base::UserDefaults::standard().setObject(base::Value("0"), core::SettingsKeys::NotificationSwitch);
    base::UserDefaults::standard().setObject(base::Value(" "), core::SettingsKeys::Receipt);
    launch();
    application.reset();
    launch();
    EXPECT_EQ(base::UserDefaults::standard().stringForKey(core::SettingsKeys::NotificationSwitch), "0");
    EXPECT_EQ(base::UserDefaults::standard().integerForKey(core::SettingsKeys::Runtimes), 2);
    EXPECT_TRUE(heard.empty()) << "a blank receipt waits for nothing";
}

TEST_F(Activation, TheNetworkIsCheckedTwoAndAHalfSecondsAfterLaunchAndEachActivation)
{
    std::optional<net::ReachabilityFlags> flags = 0;
    net::ReachabilityProbe::ScopedFlagsOverride offline { [&](const net::ReachabilityProbe&) { return flags; } };
    launch();
    clock->advance(2.4s);
    EXPECT_FALSE(noticeIn(application->window()));
    clock->advance(0.1s);
    auto notice = noticeIn(application->window());
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->text(), base::localized("bad_netword"));
    EXPECT_EQ(core::Singleton::shared().currentNetworkContional(), core::Singleton::NetworkNone);
    clock->advance(5s);
    EXPECT_FALSE(noticeIn(application->window())) << "the notice goes by itself";

    flags = net::reachability::Reachable;
    application->didBecomeActive();
    clock->advance(2.5s);
    EXPECT_EQ(core::Singleton::shared().currentNetworkContional(), core::Singleton::NetworkViaWiFi);
    EXPECT_FALSE(noticeIn(application->window()));
}

TEST_F(Activation, BecomingActiveSignsTheRememberedAccountInAgainSilently)
{
    launchAndSignIn();
    core::Helper::saveSettingValue(base::Value("LumetSession=expired"), core::SettingsKeys::Cookie);
    size_t logins = requestsTo("Login");

    application->didBecomeActive();
    ASSERT_TRUE(pumpUntil([this] { return !heard.empty(); }));
    EXPECT_EQ(heard, std::vector<std::string> { core::NotificationNames::RecoverFrom });
    EXPECT_EQ(requestsTo("Login"), logins + 1);
    auto cookie = base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie).value_or("");
    EXPECT_TRUE(cookie.starts_with("LumetSession=") && cookie != "LumetSession=expired") << cookie;
    EXPECT_EQ(shownAlert(), nullptr) << "silently";
}

// The answer of the first parent's silent sign-in comes after it has signed out and a second parent has signed
// in: the second parent's screens keep running in its own session.
TEST_F(Activation, ASilentSignInAnsweredAfterAnotherAccountSignedInLeavesThatAccountsSession)
{
    net::URLRequest::setDefaultTimeoutInterval(60s); // the answer is held as long as the test needs
    launchAndSignIn();
    service.faults().set("Login", tracking_service::Fault::held());
    application->didBecomeActive();
    ASSERT_TRUE(waitForRequests("Login", 2));
    service.faults().letGo("Login", 1); // the second parent's own sign-in
    signInAsOtherAccount();
    service.faults().remove("Login");
    ASSERT_TRUE(pumpUntil([] { return networkIdle(); }));

    EXPECT_EQ(sessionAccount(), otherAccount);
    EXPECT_TRUE(heard.empty()) << "nothing is recovered for the second parent";
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(Activation, NoSilentSignInWithoutARememberedAccountOrASessionOrWhenRefused)
{
    launch();
    application->didBecomeActive();
    pass(1);
    EXPECT_EQ(requestsTo("Login"), 0u);

    // Remembered, but nobody has signed in yet in this run: the login screen does the signing in.
    core::RememberedAccount::save(account, password, true, true);
    core::RememberedAccount::setSessionPassword("");
    application->didBecomeActive();
    pass(1);
    EXPECT_EQ(requestsTo("Login"), 0u);

    core::RememberedAccount::setSessionPassword(password);
    core::Helper::saveSettingValue(base::Value("changed elsewhere"), core::SettingsKeys::RePassword);
    application->didBecomeActive();
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("Login") == 1; }));
    pass(1);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(shownAlert(), nullptr);
}

TEST_F(Activation, StartingWithAutomaticSignInSendsOneLogin)
{
    core::RememberedAccount::save(account, password, true, true);
    core::RememberedAccount::setSessionPassword("");
    // As the application starts: launched, then active at once, before the loop turns.
    application = std::make_shared<shell::AppDelegate>();
    application->didFinishLaunching();
    application->didBecomeActive();
    ASSERT_TRUE(pumpUntil([this] { return container() != nullptr; }));
    pass(1);
    EXPECT_EQ(requestsTo("Login"), 1u);
}

} // namespace
