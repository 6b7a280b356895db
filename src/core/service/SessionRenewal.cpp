#include "core/service/SessionRenewal.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/Helper.h"
#include "core/service/SignIn.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "core/state/SettingsKeys.h"
#include "net/http/HTTPResponse.h"

#include <optional>
#include <utility>
#include <vector>

namespace core {

namespace {

    constexpr int SessionRefusedStatus = 401;

    // The renewal under way and the calls that wait for it.
    struct Renewal {
        // The sign-in whose session is being renewed, while the sign-in for it is out.
        std::optional<SignInSession> renewing;
        std::vector<SessionRenewal::Resume> waiting;
    };

    Renewal& renewal()
    {
        static Renewal state;
        return state;
    }

    std::string currentCookie()
    {
        return base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie).value_or("");
    }

    void resumeAll(bool renewed)
    {
        auto& state = renewal();
        auto waiting = std::exchange(state.waiting, {});
        state.renewing.reset();
        base::NotificationCenter::defaultCenter().removeObservers(&state);
        for (const auto& resume : waiting)
            resume(renewed);
    }

    // A sign-out ends the renewal of its session: the calls waiting for it fail at once, as a refused renewal
    // makes them, and the answer of its sign-in, when it comes, is of no more use.
    void endWithSignOut()
    {
        auto& state = renewal();
        base::NotificationCenter::defaultCenter().addObserver(
            NotificationNames::DidLogOut, nullptr,
            [](const base::Notification&) {
                base::log("session: signed out while the session was being renewed; the waiting calls fail");
                resumeAll(false);
            },
            &state);
    }

    // The dropped session is of no more use: later calls go without it and do not ask again. The sign-in ends
    // with it, and its work too: the login screen shows, and whoever signs in next must not meet its answers.
    void endSession()
    {
        base::log("session: the service no longer knows the session and it could not be renewed");
        SignInSession::end();
        Helper::saveSettingValue(base::Value(""), SettingsKeys::Cookie);
        base::NotificationCenter::defaultCenter().post(NotificationNames::SessionExpired);
    }

} // namespace

bool SessionRenewal::refusesSession(const net::HTTPResponse* response, const std::string& sentCookie)
{
    return response && response->statusCode() == SessionRefusedStatus && !sentCookie.empty();
}

void SessionRenewal::renew(const std::string& expiredCookie, const SignInSession& signIn, Resume resume)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!signIn.isOpen()) {
        // Signed out, or another sign-in came, since the call went: its session is nobody's to renew now.
        resume(false);
        return;
    }
    auto& state = renewal();
    state.waiting.push_back(std::move(resume));
    if (state.renewing)
        return;
    if (std::string cookie = currentCookie(); cookie != expiredCookie) {
        // Renewed since the call went (or ended, which leaves no cookie to go again with).
        resumeAll(!cookie.empty());
        return;
    }
    auto account = RememberedAccount::reLoginAccount();
    if (!account || account->name != signIn.account) {
        endSession();
        resumeAll(false);
        return;
    }
    base::log("session: the service no longer knows the session; signing in again");
    state.renewing = signIn;
    endWithSignOut();
    SignIn::postWithin(signIn, account->name, account->password, [signIn](SignIn::Outcome outcome) {
        const auto& renewing = renewal().renewing;
        if (!renewing || renewing->generation != signIn.generation)
            return; // a sign-out ended this renewal
        if (outcome == SignIn::Outcome::Refused)
            endSession();
        resumeAll(outcome == SignIn::Outcome::Accepted);
    });
}

} // namespace core
