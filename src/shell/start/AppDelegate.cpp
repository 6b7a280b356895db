#include "shell/start/AppDelegate.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/service/CheckNetwork.h"
#include "core/service/SignIn.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/start/LoginVC.h"
#include "ui/view/Window.h"

namespace shell {

using core::SettingsKeys;
using core::SignIn;

void AppDelegate::didFinishLaunching(const Options& options)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& state = core::Singleton::shared();
    if (!state.loadConfig())
        base::log("start-up: the configuration list could not be read; the drawer menu has no rows");
    state.messagePath();
    if (!core::DBManager::createTables())
        base::log("start-up: the local message store could not be prepared");
    core::IncomingMessages::storeSpooled();
    registerFeatureScreens();
    scheduleNetworkCheck();
    if (!core::Helper::readSettingsByKey(SettingsKeys::NotificationSwitch))
        core::Helper::saveSettingValue(base::Value("1"), SettingsKeys::NotificationSwitch);
    countLaunch();
    if (core::Helper::isNotNullString(core::Helper::readSettingsByKey(SettingsKeys::Receipt)))
        base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);

    m_loginScreen = LoginVC::make();
    if (options.suggestedAccount)
        m_loginScreen->setSuggestedAccount(*options.suggestedAccount, options.suggestedPassword.value_or(""));
    m_window = std::make_shared<ui::Window>();
    m_window->setRootViewController(m_loginScreen);
    m_window->makeKeyAndVisible();
}

void AppDelegate::didBecomeActive()
{
    BASE_ASSERT_MAIN_THREAD();
    scheduleNetworkCheck();
    // Only an open session is renewed: before the first sign-in of the run (at start, say) the login screen
    // signs in, by itself or by the user, and a silent sign-in as well would send a second "Login".
    if (!core::RememberedAccount::sessionPassword().empty())
        signInAgainSilently();
}

void AppDelegate::countLaunch()
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setInteger(defaults.integerForKey(SettingsKeys::Runtimes) + 1, SettingsKeys::Runtimes);
    // synchronize() logs a failed write; the count is only a statistic.
    (void)defaults.synchronize();
}

void AppDelegate::scheduleNetworkCheck()
{
    base::RunLoop::main().performAfter(networkCheckDelay, [weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->checkNetwork();
    });
}

void AppDelegate::checkNetwork()
{
    if (!core::CheckNetwork::isExistenceNetwork() && m_window)
        core::Helper::showNotify(false, base::localized("bad_netword"), m_window, {});
}

void AppDelegate::signInAgainSilently()
{
    auto account = core::RememberedAccount::reLoginAccount();
    if (!account)
        return;
    // For the sign-in open now: a later one's, or a signed-out user's, is none of its business.
    SignIn::postWithin(core::SignInSession::current(), account->name, account->password, [](SignIn::Outcome outcome) {
        if (outcome == SignIn::Outcome::Accepted)
            base::NotificationCenter::defaultCenter().post(core::NotificationNames::RecoverFrom);
    });
}

} // namespace shell
