// The service loses its sessions while the application runs (as a restart with fresh data does): with a
// remembered account the home screen's polling signs in again by itself and the waiting message arrives;
// without one the login screen comes back with the reason, and nothing signs in behind the user's back.
#include "ShellFixture.h"

#include "base/loop/NotificationCenter.h"
#include "base/values/Dictionary.h"
#include "core/messages/UserMessageQuery.h"
#include "core/state/NotificationNames.h"
#include "kit/widgets/CheckBoxView.h"
#include "settings/numbers/CenterNumberVC.h"
#include "settings/numbers/SingleNumberCommand.h"
#include "tracking-service/Fault.h"

#include <algorithm>

namespace {

class ExpiredSession : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        base::NotificationCenter::defaultCenter().addObserver(
            core::NotificationNames::ReceiveRemoteNotification, nullptr,
            [this](const base::Notification& posted) {
                m_storedIds.push_back(posted.objectAs<core::UserMessageQuery>()->id_.value_or(""));
            },
            this);
    }
    void TearDown() override
    {
        base::NotificationCenter::defaultCenter().removeObservers(this);
        ShellTest::TearDown();
    }

    // Signs in, lets the home screen's first poll pass, then has the service forget every session.
    void signInAndLoseTheSession(bool remember, bool automatic = false)
    {
        launch();
        fill(account, password);
        login()->rememberBox()->setChecked(remember);
        login()->autoLoginBox()->setChecked(automatic);
        signIn();
        ASSERT_TRUE(container());
        ASSERT_TRUE(pumpUntil([this] { return requestsTo("PopManyQueryMessage") >= 1; }));
        ASSERT_TRUE(service.store().closeAllSessions());
        service.store().queueMessage(account,
            base::Value(base::Dictionary::make({ { "_id", "after-restart" }, { "Context", "hello" }, { "Desc", "" },
                { "From", watch }, { "To", account }, { "MsgType", 3 } })));
    }

    bool waitingMessageStored() const
    {
        return std::find(m_storedIds.begin(), m_storedIds.end(), "after-restart") != m_storedIds.end();
    }

    std::vector<std::string> m_storedIds;
};

TEST_F(ExpiredSession, TheRememberedAccountSignsInAgainAndTheWaitingMessageArrives)
{
    signInAndLoseTheSession(true);
    ASSERT_TRUE(pumpUntil([this] { return waitingMessageStored(); }));
    EXPECT_EQ(requestsTo("Login"), 2u) << "one sign-in at the start, one to renew the session";
    EXPECT_TRUE(container()) << "the user stays where they were";
    EXPECT_FALSE(shownAlert());
    auto polls = service.requestLog().requestsTo("PopManyQueryMessage");
    EXPECT_EQ(polls.back().header("Cookie"), base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie));
}

TEST_F(ExpiredSession, WithoutARememberedAccountTheLoginScreenComesBackWithTheReason)
{
    signInAndLoseTheSession(false);
    ASSERT_TRUE(pumpUntil([this] { return !container() && shownAlert(); }));
    pass(0.5);
    EXPECT_TRUE(textInRegion(base::localized("session_expired"), ui::Screen::main().bounds()));
    EXPECT_EQ(takeAlertMessage(), base::localized("session_expired"));
    EXPECT_EQ(requestsTo("Login"), 1u);
    EXPECT_EQ(login()->accountField()->text(), account) << "the account is there to sign in again";

    // The polling went with the home screen: nothing more is asked without a session.
    size_t polls = requestsTo("PopManyQueryMessage");
    pass(5);
    EXPECT_EQ(requestsTo("PopManyQueryMessage"), polls);
    EXPECT_FALSE(shownAlert());

    fill(account, password);
    signIn();
    EXPECT_TRUE(container());
    EXPECT_FALSE(waitingMessageStored());
    EXPECT_TRUE(pumpUntil([this] { return waitingMessageStored(); })) << "kept on the service until then";
}

TEST_F(ExpiredSession, ARenewalTheServiceRefusesShowsTheReasonWithoutAnAutomaticSignInBehindIt)
{
    signInAndLoseTheSession(true, true);
    ASSERT_TRUE(service.store().setPassword(account, "changed elsewhere"));
    ASSERT_TRUE(pumpUntil([this] { return !container() && shownAlert(); }));
    pass(2);
    EXPECT_EQ(requestsTo("Login"), 2u) << "the first sign-in and the refused renewal, nothing after";
    EXPECT_EQ(takeAlertMessage(), base::localized("session_expired"));
    EXPECT_FALSE(shownAlert()) << "no second alert of a failed automatic sign-in";
    EXPECT_FALSE(container());

    fill(account, "changed elsewhere");
    signIn();
    EXPECT_TRUE(container());
}

// A renewal the service refuses ends the sign-in as a sign-out does: the answer to a number sent before it, which
// comes while the login screen shows, says nothing over it.
TEST_F(ExpiredSession, ARenewalTheServiceRefusesEndsTheWorkOfItsSignIn)
{
    using tracking_service::Fault;
    const char* method = settings::CenterNumberVC::MorvikMethod;
    launch();
    fill(account, password);
    login()->rememberBox()->setChecked(true);
    signIn();
    ASSERT_TRUE(container());
    service.faults().set(method, Fault::held());
    settings::SingleNumberCommand::send(method,
        base::Dictionary::make({ { "Serialnumber", base::Value(tracking_service::DemoData::MorvikSerialNumber) },
            { "PhoneNum", base::Value("13900000002") } }),
        {});
    ASSERT_TRUE(waitForRequests(method, 1));
    ASSERT_TRUE(service.store().closeAllSessions());
    ASSERT_TRUE(service.store().setPassword(account, "changed elsewhere"));
    ASSERT_TRUE(pumpUntil([this] { return !container() && shownAlert(); }));
    EXPECT_EQ(takeAlertMessage(), base::localized("session_expired"));

    service.faults().letGo(method, 0, Fault::dropConnection());
    pass(2);
    EXPECT_EQ(shownAlert(), nullptr);
}

} // namespace
