#include "shell/AppDelegate.h"

#include "base/Localization.h"
#include "base/MainThread.h"
#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "base/UserDefaults.h"
#include "core/CheckNetwork.h"
#include "core/DBManager.h"
#include "core/IncomingMessages.h"
#include "core/Helper.h"
#include "core/NotificationNames.h"
#include "core/RememberedAccount.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "shell/FeatureScreens.h"
#include "shell/LoginVC.h"
#include "shell/SignIn.h"
#include "ui/Window.h"

namespace shell {

using core::SettingsKeys;

void AppDelegate::didFinishLaunching(const Options& options)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& state = core::Singleton::shared();
    state.loadConfig();
    state.messagePath();
    core::DBManager::createTables();
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
    signInAgainSilently();
}

void AppDelegate::countLaunch()
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setInteger(defaults.integerForKey(SettingsKeys::Runtimes) + 1, SettingsKeys::Runtimes);
    defaults.synchronize();
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
    SignIn::post(account->name, account->password, [](SignIn::Outcome outcome) {
        if (outcome == SignIn::Outcome::Accepted)
            base::NotificationCenter::defaultCenter().post(core::NotificationNames::RecoverFrom);
    });
}

} // namespace shell
