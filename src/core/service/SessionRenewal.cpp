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

#include <utility>
#include <vector>

namespace core {

namespace {

    constexpr int SessionRefusedStatus = 401;

    // The one renewal under way and the calls that wait for it.
    struct Renewal {
        bool signingIn { false };
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
        auto waiting = std::exchange(renewal().waiting, {});
        renewal().signingIn = false;
        for (const auto& resume : waiting)
            resume(renewed);
    }

    // The dropped session is of no more use: later calls go without it and do not ask again.
    void endSession()
    {
        base::log("session: the service no longer knows the session and it could not be renewed");
        Helper::saveSettingValue(base::Value(""), SettingsKeys::Cookie);
        base::NotificationCenter::defaultCenter().post(NotificationNames::SessionExpired);
    }

} // namespace

bool SessionRenewal::refusesSession(const net::HTTPResponse* response, const std::string& sentCookie)
{
    return response && response->statusCode() == SessionRefusedStatus && !sentCookie.empty();
}

void SessionRenewal::renew(const std::string& expiredCookie, Resume resume)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& state = renewal();
    state.waiting.push_back(std::move(resume));
    if (state.signingIn)
        return;
    if (std::string cookie = currentCookie(); cookie != expiredCookie) {
        // Renewed since the call went (or ended, which leaves no cookie to go again with).
        resumeAll(!cookie.empty());
        return;
    }
    auto account = RememberedAccount::reLoginAccount();
    if (!account) {
        endSession();
        resumeAll(false);
        return;
    }
    base::log("session: the service no longer knows the session; signing in again");
    state.signingIn = true;
    SignIn::post(account->name, account->password, [](SignIn::Outcome outcome) {
        if (outcome == SignIn::Outcome::Refused)
            endSession();
        resumeAll(outcome == SignIn::Outcome::Accepted);
    });
}

} // namespace core
