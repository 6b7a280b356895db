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
#include "core/service/Purchases.h"
#include "core/service/ServiceClient.h"
#include "core/service/SignIn.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "kit/overlay/ProgressOverlay.h"
#include "media/backends/AudioBackend.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/start/LoginVC.h"
#include "ui/view/Window.h"

#include <algorithm>

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
    if (core::Purchases::anyReceiptWaits())
        base::NotificationCenter::defaultCenter().post(core::NotificationNames::UploadReceipt);

    m_loginScreen = LoginVC::make();
    if (options.suggestedAccount)
        m_loginScreen->setSuggestedAccount(*options.suggestedAccount, options.suggestedPassword.value_or(""));
    m_window = std::make_shared<ui::Window>();
    m_window->setRootViewController(m_loginScreen);
    m_window->makeKeyAndVisible();
    sayWhenSoundIsUnavailable();
}

void AppDelegate::sayWhenSoundIsUnavailable()
{
    base::NotificationCenter::defaultCenter().addObserver(
        media::AudioBackend::UnavailableNotification, nullptr,
        [weak = weak_from_this()](const base::Notification&) {
            if (auto self = weak.lock(); self && self->m_window)
                core::Helper::showNotify(false, base::localized("no_sound_device"), self->m_window, {});
        },
        this);
}

AppDelegate::~AppDelegate() { base::NotificationCenter::defaultCenter().removeObservers(this); }

bool AppDelegate::finishBeforeExit(std::chrono::milliseconds limit)
{
    BASE_ASSERT_MAIN_THREAD();
    auto end = std::chrono::steady_clock::now() + limit;
    const auto& client = core::ServiceClient::sharedClient();
    std::shared_ptr<kit::ProgressOverlay> finishing;
    if (m_window && (client->callsInFlight() > 0 || core::IncomingMessages::storesInFlight() > 0)) {
        finishing = kit::ProgressOverlay::makeForView(m_window);
        core::Helper::showHUD(base::localized("finishing_before_exit"), m_window, finishing);
    }
    bool answered = base::RunLoop::main().runUntil([&client] { return client->callsInFlight() == 0; }, limit);
    if (!answered) {
        size_t unanswered = client->callsInFlight();
        base::log("exit: " + std::to_string(unanswered)
            + (unanswered == 1 ? " web call was still on its way; what it asked for"
                               : " web calls were still on their way; what they asked for")
            + " may or may not have been done");
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    bool settled = core::IncomingMessages::finishBeforeExit(std::max(left, std::chrono::milliseconds(0)));
    if (finishing)
        finishing->hide(false);
    return answered && settled;
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
