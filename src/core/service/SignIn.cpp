#include "core/service/SignIn.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/text/URL.h"
#include "base/values/Dictionary.h"
#include "core/helpers/Helper.h"
#include "core/readers/Tool.h"
#include "core/service/Purchases.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/SessionCookie.h"
#include "core/service/WebCall.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"

namespace core {

namespace {

    void keepSession(const net::HTTPHeaderFields& headers)
    {
        const std::string* setCookie = headers.value("Set-Cookie");
        std::string cookie = setCookie ? SessionCookie::fromSetCookie(*setCookie) : std::string();
        if (cookie.empty())
            base::log("sign-in: accepted without a session cookie");
        else
            Helper::saveSettingValue(base::Value(cookie), SettingsKeys::Cookie);
        // A waiting receipt goes in a sign-in of the account that bought it: this may be one.
        if (Purchases::anyReceiptWaits())
            base::NotificationCenter::defaultCenter().post(NotificationNames::UploadReceipt);
    }

    // Whether the reply came from the service asked, not from a server a redirect led to: its own scheme, host
    // and port. A 301, 302 or 303 turns the sign-in into a GET without the account, so whatever the other
    // server answers says nothing of the account, and a "1" from it must not pass for a session.
    bool answeredByService(const std::optional<base::URL>& asked, const base::URL& answered)
    {
        return asked && answered.scheme() == asked->scheme() && answered.host() == asked->host()
            && answered.port() == asked->port();
    }

    // `within`: the sign-in a sign-in behind the user's back is made for; none for the user's own.
    void send(const std::string& account, const std::string& password, std::optional<SignInSession> within,
        SignIn::Completion completion)
    {
        using Outcome = SignIn::Outcome;
        auto parameters = base::Dictionary::make({
            { ServiceProtocol::LoginNameKey, account },
            { ServiceProtocol::PasswordKey, password },
            { ServiceProtocol::TokenKey, SignIn::BlankToken },
        });
        auto finish = std::make_shared<SignIn::Completion>(std::move(completion));
        auto asked = base::URL::parse(WebCall::urlOfMethod(ServiceProtocol::LoginMethod));
        WebCall::postReadingResponse(
            ServiceProtocol::LoginMethod, parameters,
            [finish, asked, account, within](const std::string& reply, const net::HTTPResponse& response) {
                if (!answeredByService(asked, response.url())) {
                    base::log("sign-in failed: answered by another server than the service");
                    if (*finish)
                        (*finish)(Outcome::ServiceFault);
                    return;
                }
                // Only a number is the service's verdict on the account; a reply without one means the service
                // could not answer, and telling the user the password was wrong would send them the wrong way.
                base::Error unreadable;
                bool accepted = Tool::readLoginResultFromJson(reply, &unreadable);
                if (!unreadable.isEmpty())
                    base::log("sign-in failed: " + unreadable.description());
                if (accepted && within && !within->isOpenFor(account)) {
                    // Its session would run another account's screens, or a signed-out one's.
                    base::log("sign-in: accepted after the sign-in it was made for had ended; the session is dropped");
                    if (*finish)
                        (*finish)(Outcome::Ended);
                    return;
                }
                if (accepted) {
                    if (!within)
                        SignInSession::begin(account);
                    keepSession(response.allHeaderFields());
                }
                if (*finish)
                    (*finish)(accepted             ? Outcome::Accepted
                            : unreadable.isEmpty() ? Outcome::Refused
                                                   : Outcome::ServiceFault);
            },
            [finish](const base::Error& error) {
                base::log("sign-in failed: " + error.description());
                if (*finish)
                    (*finish)(WebCall::isServiceFault(error) ? Outcome::ServiceFault : Outcome::NetworkFailure);
            },
            WebCall::OnExpiredSession::Fail);
    }

} // namespace

void SignIn::post(const std::string& account, const std::string& password, Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    send(account, password, std::nullopt, std::move(completion));
}

void SignIn::postWithin(
    const SignInSession& signIn, const std::string& account, const std::string& password, Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    send(account, password, signIn, std::move(completion));
}

} // namespace core
