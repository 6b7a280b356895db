#include "core/Logout.h"

#include "base/MainThread.h"
#include "base/NotificationCenter.h"
#include "core/DBManager.h"
#include "core/Helper.h"
#include "core/NotificationNames.h"
#include "core/RememberedAccount.h"
#include "core/ServiceClient.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"

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
    Helper::saveSettingValue(base::Value(""), SettingsKeys::Cookie);
    Helper::saveSettingValue(base::Value("0"), SettingsKeys::AutoLogin);
    ServiceClient::sharedClient()->setDefaultHeader("Cookie", "");
    Singleton::shared().setLastSerialnumber("");
    RememberedAccount::setSessionPassword("");
    DBManager::deleteAllMobileDevice();
    base::NotificationCenter::defaultCenter().post(NotificationNames::DidLogOut);
}

} // namespace core
