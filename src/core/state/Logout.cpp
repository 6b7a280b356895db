#include "core/state/Logout.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "core/helpers/Helper.h"
#include "core/messages/DBManager.h"
#include "core/service/ServiceClient.h"
#include "core/state/AccountDevices.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"

namespace core {

void Logout::logOut()
{
    BASE_ASSERT_MAIN_THREAD();
    // The request takes the cookie with it before the session is cleared below.
    Helper::uploadDeviceToken(std::nullopt);
    logOutKeepingPushToken();
}

void Logout::logOutKeepingPushToken()
{
    BASE_ASSERT_MAIN_THREAD();
    SignInSession::end();
    Helper::saveSettingValue(base::Value(""), SettingsKeys::Cookie);
    Helper::saveSettingValue(base::Value("0"), SettingsKeys::AutoLogin);
    ServiceClient::sharedClient()->setDefaultHeader("Cookie", "");
    auto& state = Singleton::shared();
    state.setLastSerialnumber("");
    state.setDeviceTypeID(std::nullopt);
    state.setDeviceDetail(nullptr);
    AccountDevices::forget();
    RememberedAccount::setSessionPassword("");
    for (const char* key : SettingsKeys::SignedInDeviceKeys)
        Helper::saveSettingValue(std::nullopt, key);
    if (!DBManager::deleteAllMobileDevice())
        base::log("log out: the stored devices could not be removed");
    base::NotificationCenter::defaultCenter().post(NotificationNames::DidLogOut);
}

} // namespace core
