#include "shell/start/SignIn.h"

#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "core/helpers/Helper.h"
#include "core/state/NotificationNames.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/SessionCookie.h"
#include "core/state/SettingsKeys.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"

namespace shell {

using core::ServiceProtocol;

namespace {

    // Only an answer of the service can refuse: a reply without one (not JSON, no "d", a null "d") is a
    // server fault, and telling the user the password was wrong would send them the wrong way.
    bool isReadableAnswer(const std::string& reply)
    {
        auto d = core::ReplyFields::payload(reply);
        return d && !d->isNull();
    }

} // namespace

void SignIn::post(const std::string& account, const std::string& password, Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto parameters = base::Dictionary::make({
        { ServiceProtocol::LoginNameKey, account },
        { ServiceProtocol::PasswordKey, password },
        { ServiceProtocol::TokenKey, BlankToken },
    });
    auto finish = std::make_shared<Completion>(std::move(completion));
    core::WebCall::postReadingHeaders(
        ServiceProtocol::LoginMethod, parameters,
        [finish](const std::string& reply, const net::HTTPHeaderFields& headers) {
            if (!isReadableAnswer(reply)) {
                base::log("sign-in failed: the service's reply holds no answer");
                if (*finish)
                    (*finish)(Outcome::Failed);
                return;
            }
            if (!core::Tool::readLoginResultFromJson(reply)) {
                if (*finish)
                    (*finish)(Outcome::Refused);
                return;
            }
            const std::string* setCookie = headers.value("Set-Cookie");
            std::string cookie = setCookie ? core::SessionCookie::fromSetCookie(*setCookie) : std::string();
            if (cookie.empty())
                base::log("sign-in: accepted without a session cookie");
            else
                core::Helper::saveSettingValue(base::Value(cookie), core::SettingsKeys::Cookie);
            // The launch's post of a waiting receipt came before any session: send it again with this one.
            if (core::Helper::isNotNullString(core::Helper::readSettingsByKey(core::SettingsKeys::Receipt)))
                base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);
            if (*finish)
                (*finish)(Outcome::Accepted);
        },
        [finish](const base::Error& error) {
            base::log("sign-in failed: " + error.description());
            if (*finish)
                (*finish)(Outcome::Failed);
        });
}

} // namespace shell
