// Shared set-up of the screen tests (the shell's and the feature screens'): the manual clock, a 320 x 568
// screen at scale 2, fixed text metrics, the local tracking service on a free loopback port as the chosen
// server, a network check that finds the network, a request time-out that only a lost transfer meets and the
// feature screens registered. Each test starts with no settings, keychain items or local database of its own and
// leaves none behind (the test binary's data root is a temporary folder); alerts and modal panels still up at the
// end are dismissed. Helpers sign in (as the demo account or a second one), sign out, take the tour, find the
// signed-in container's screens, tap, pump the main loop on virtual time, read the service's request log and
// probe the rendered screen (ScreenProbe.h).
#pragma once

#include "base/ClockFixture.h"
#include "base/loop/OperationQueue.h"
#include "base/system/Bundle.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "core/service/ServiceClient.h"
#include "core/state/Logout.h"
#include "core/service/Purchases.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "feedback/FeedbackPoster.h"
#include "gfx/text/FixedTextMeasurer.h"
#include "host/HeadlessHost.h"
#include "keychain/Keychain.h"
#include "kit/drawer/DrawerController.h"
#include "kit/modal/ModalPresenter.h"
#include "net/http/URLRequest.h"
#include "net/loading/MainLoopTransfers.h"
#include "net/reachability/ReachabilityFlags.h"
#include "net/reachability/ReachabilityProbe.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/NavViewController.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/start/AppDelegate.h"
#include "shell/start/LoginVC.h"
#include "shell/tour/Tour.h"
#include "support/ScreenProbe.h"
#include "support/ShownAlert.h"
#include "support/TempDir.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/controls/TextField.h"
#include "ui/input/InputHandler.h"
#include "ui/input/TouchDriver.h"
#include "ui/view/Application.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace std::chrono_literals;

namespace test {

class ScreenTest : public ManualClockTest {
protected:
    static constexpr const char* account = tracking_service::DemoData::AccountName;
    static constexpr const char* password = tracking_service::DemoData::Password;
    static constexpr const char* watch = tracking_service::DemoData::WatchSerialNumber;
    // A second account with the demo account's password and a watch of its own, so that only the account
    // tells their copies apart.
    static constexpr const char* otherAccount = "other_parent";
    static constexpr const char* otherWatch = "OW3600000001";

    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        // The screen tests check the bodies the application sent.
        service.requestLog().setRecording(tracking_service::RequestLog::Recording::WithBodies);
        ASSERT_TRUE(service.start());
        core::Singleton::shared().setServer(service.rootUrl());
        shell::registerFeatureScreens();
        net::URLRequest::setDefaultTimeoutInterval(RequestTimeOut);
    }

    void TearDown() override
    {
        while (auto alert = shownAlert())
            alert->dismissWithClickedButtonIndex(0, false);
        kit::ModalPresenter::sharedInstance()->hideAnimated(false);
        // Running animations hold their completions, and those the screens: let them end.
        application.reset();
        // Replies still held come now, so that no call of this test is answered in the next one.
        service.faults().clear();
        clock->advance(5s);
        // Only a wait for what is still on its way: how long it takes is no verdict on the test.
        (void)base::RunLoop::main().runUntil([] { return networkIdle(); }, 60s);
        service.stop();
        forgetEverything();
        net::URLRequest::setDefaultTimeoutInterval(60s);
        ManualClockTest::TearDown();
    }

    static void forgetEverything()
    {
        auto& defaults = base::UserDefaults::standard();
        for (const char* key : { core::SettingsKeys::Cookie, core::SettingsKeys::RootUrl, core::SettingsKeys::LoginKey,
                 core::SettingsKeys::LastSerialNumber, core::SettingsKeys::LoginName, core::SettingsKeys::LoginName2,
                 core::SettingsKeys::Password, core::SettingsKeys::AutoLogin, core::SettingsKeys::ReLoginName,
                 core::SettingsKeys::RePassword, core::SettingsKeys::NotificationSwitch, core::SettingsKeys::Runtimes,
                 core::SettingsKeys::Receipt, core::Purchases::Key, core::Purchases::LegacySerialKey,
                 core::Purchases::LegacyAccountKey })
            defaults.removeObjectForKey(key);
        EXPECT_TRUE(defaults.synchronize());
        // Each account's remembered password, and the new password of a change whose answer never came (a test
        // that stored none leaves nothing to delete).
        for (const char* name : { account, otherAccount }) {
            (void)keychain::Keychain::deletePasswordForService(base::Bundle::main().identifier(), name);
            (void)keychain::Keychain::deletePasswordForService(
                base::Bundle::main().identifier() + ".pending-password", name);
        }
        std::error_code ignored;
        std::filesystem::remove(core::DBManager::databasePath(), ignored);
        core::Singleton::shared().setDeviceDetail(nullptr);
        core::Singleton::shared().setDeviceTypeID(std::nullopt);
        core::SignInSession::end(); // nobody signed in, as in a new process
    }

    // The time-out is how long a transfer may stay idle, in real time. The fixture waits on delivered replies,
    // not on time, and a test that holds a reply (Fault::held()) holds it across as many steps as it likes,
    // however slowly a loaded machine runs them: only a transfer that something lost is to time out, so the
    // time-out is as long as a test may take.
    static constexpr std::chrono::seconds RequestTimeOut { 300 };
    // The time-out of a test that waits one out, against a reply held until it has passed.
    static constexpr std::chrono::seconds ShortTimeOut { 1 };

    // The ways a device's detail fails to load, each with the text that says it: the network notice when the
    // service was not reached, the load failure when it answered.
    static std::vector<std::pair<tracking_service::Fault, const char*>> detailFailures()
    {
        return { { tracking_service::Fault::dropConnection(), "bad_netword" },
            { tracking_service::Fault::nullPayload(), "load_failed" },
            { tracking_service::Fault::status(500), "load_failed" } };
    }

    // Runs `press` with the fault on the endpoint and lifts every fault after. A delay is waited out: its
    // answer is held until the fault is lifted, and what `press` sends times out after ShortTimeOut.
    void underFault(
        const std::string& endpoint, const tracking_service::Fault& fault, const std::function<void()>& press)
    {
        bool waitedOut = fault.kind == tracking_service::Fault::Kind::Delay;
        if (waitedOut)
            net::URLRequest::setDefaultTimeoutInterval(ShortTimeOut);
        service.faults().set(endpoint, waitedOut ? tracking_service::Fault::held() : fault);
        press();
        service.faults().clear();
        net::URLRequest::setDefaultTimeoutInterval(RequestTimeOut);
    }

    // Whether every web call made has had its success or failure block run.
    // No call (the feedback posts included) waits for its reply to be delivered and no batch of incoming
    // messages waits to be stored.
    static bool networkIdle()
    {
        return core::ServiceClient::sharedClient()->callsInFlight() == 0
            && feedback::FeedbackPoster::postsInFlight() == 0 && core::IncomingMessages::storesInFlight() == 0;
    }

    // Whether a reply is on its way: a web call or feedback post made has not had its block run, and the
    // service does not hold its request (Fault::held()), or a batch of incoming messages waits to be stored. A
    // poll waiting for its reply is a web call like any other: held, its reply is not on its way.
    // A held request's reply comes when the test lets it go, unless the test waits out a time-out shorter
    // than the fixture's: then the call's failure is on its way.
    bool replyOnItsWay()
    {
        size_t held = net::URLRequest::defaultTimeoutInterval() < RequestTimeOut ? 0 : service.faults().heldNow();
        // A screen's own transfers (a voice upload, a picture) are not calls of the service client.
        return core::ServiceClient::sharedClient()->callsInFlight() + feedback::FeedbackPoster::postsInFlight() > held
            || net::MainLoopTransfers::shared().transfersRunning() > held
            || core::IncomingMessages::storesInFlight() > core::IncomingMessages::pollsInFlight();
    }
    // Runs the main loop on the current virtual instant until `done` holds or no reply is on its way; whether
    // `done` holds. The service's threads post nothing to the loop when they begin to hold a request, so the
    // loop looks again every few milliseconds. Only a wait for what is on its way: how long it takes on a
    // loaded machine is no verdict on the test.
    bool awaitReplies(const std::function<bool()>& done = [] { return false; })
    {
        auto settled = [&] { return done() || !replyOnItsWay(); };
        auto patience = std::chrono::steady_clock::now() + 60s;
        while (!base::RunLoop::main().runUntil(settled, 5ms) && std::chrono::steady_clock::now() < patience) { }
        return done();
    }

    // The device's record as the service has it now, read as the application reads it.
    std::shared_ptr<core::Device> detailOf(const std::string& serialNumber)
    {
        std::shared_ptr<core::Device> device;
        bool done = false;
        core::WebCall::post(
            "GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", base::Value(serialNumber) } }),
            [&](const std::string& reply) {
                device = core::Tool::readDeviceDetailFromJson(reply);
                done = true;
            },
            [&](const base::Error&) { done = true; });
        pumpUntil([&] { return done; });
        return device;
    }

    // Runs the main loop on virtual time, 50 ms a step, until `done` holds, letting every reply on its way
    // arrive in between the steps; whether it held within `limit` seconds of virtual time.
    bool pumpUntil(const std::function<bool()>& done, double limit = 30)
    {
        for (long step = std::lround(limit / 0.05); step >= 0; --step) {
            if (awaitReplies(done))
                return true;
            clock->advance(50ms);
        }
        return done();
    }
    // Lets `seconds` of virtual time pass, with every reply on its way arriving first at each step.
    void pass(double seconds)
    {
        for (long step = std::lround(seconds / 0.05); step > 0; --step) {
            awaitReplies();
            clock->advance(50ms);
        }
    }

    void launch(shell::AppDelegate::Options options = {})
    {
        application = std::make_shared<shell::AppDelegate>();
        application->didFinishLaunching(options);
        clock->advance(0s);
    }
    const std::shared_ptr<shell::LoginVC>& login() const { return application->loginScreen(); }
    void fill(const std::string& name, const std::string& secret)
    {
        login()->accountField()->setText(name);
        login()->passwordField()->setText(secret);
    }
    // Signs in with what the fields show and waits for the outcome.
    void signIn()
    {
        login()->signIn();
        pumpUntil([this] { return !login()->isSigningIn(); });
        clock->advance(1s);
    }
    // Signs out as the drawer menu does and waits for the login screen.
    void signOut()
    {
        core::Logout::logOut();
        ASSERT_TRUE(pumpUntil([this] { return !container(); }));
    }
    // Signs out and signs the second account in from the login screen (made on the service the first time).
    void signInAsOtherAccount()
    {
        if (!service.store().checkPassword(otherAccount, password)) {
            ASSERT_TRUE(service.store().addAccount(otherAccount, password));
            ASSERT_TRUE(service.store().addDevice({ otherWatch, otherAccount, "Other watch", 36, 1 }));
        }
        signOut();
        fill(otherAccount, password);
        signIn();
        ASSERT_TRUE(container());
    }
    // The account whose session the cookie setting holds now, as the service knows it.
    std::string sessionAccount()
    {
        std::string cookie = base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie).value_or("");
        return service.store().sessionAccount(cookie.substr(cookie.find('=') + 1)).value_or("");
    }
    // Runs the main loop until the service has received `count` requests to the method, a held one included.
    // The service's threads post nothing to the loop, so the wait looks again every few milliseconds; whether
    // they came within 30 s.
    [[nodiscard]] bool waitForRequests(const std::string& method, size_t count)
    {
        auto received = [&] { return requestsTo(method) >= count; };
        for (auto deadline = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < deadline;)
            if (base::RunLoop::main().runUntil(received, base::Duration(0.005)))
                return true;
        return received();
    }

    void launchAndSignIn()
    {
        launch();
        fill(account, password);
        signIn();
        ASSERT_TRUE(container());
    }
    // Waits for the home screen's device detail, which may come a moment after the sign-in: what the home
    // screen and the screens it opens do for the device needs it. Whether it came.
    [[nodiscard]] bool homeDetailCame()
    {
        return pumpUntil([this] { return home() && home()->deviceDetail(); });
    }

    // Launches with the account and password on the login screen and lets the tour sign in and picture every
    // screen into `folder`, on virtual time (240 s at most); the tour's pictures, or nothing when it did not
    // end or failed.
    std::optional<std::vector<std::string>> takeTour(const std::filesystem::path& folder)
    {
        host::HeadlessHost pictures { folder };
        std::optional<bool> outcome;
        launch({ account, password });
        auto tour = std::make_shared<shell::Tour>(
            application, [&](const std::string& name) { return pictures.writeFrame(name).has_value(); },
            [&](bool succeeded) { outcome = succeeded; });
        tour->start();
        if (!pumpUntil([&] { return outcome.has_value(); }, 240) || !*outcome)
            return std::nullopt;
        return tour->pictures();
    }

    std::shared_ptr<kit::DrawerController> container() const { return login()->signedInContainer(); }
    std::shared_ptr<ui::ViewController> centreRoot() const
    {
        auto navigation = container()
            ? std::dynamic_pointer_cast<shell::NavViewController>(container()->centerViewController())
            : nullptr;
        return navigation && !navigation->viewControllers().empty() ? navigation->viewControllers().front() : nullptr;
    }
    std::shared_ptr<shell::MainMenuVC> home() const
    {
        return std::dynamic_pointer_cast<shell::MainMenuVC>(centreRoot());
    }
    std::shared_ptr<shell::ExpansionListVC> menu() const
    {
        return container() ? std::dynamic_pointer_cast<shell::ExpansionListVC>(container()->leftDrawerViewController())
                           : nullptr;
    }

    // The alert on screen, if any.
    static std::shared_ptr<ui::AlertView> shownAlert() { return test::shownAlert(); }
    // The message of the alert on screen, which is then dismissed; "" when none is up.
    static std::string takeAlertMessage()
    {
        auto alert = shownAlert();
        if (!alert)
            return "";
        std::string message = alert->message().value_or("");
        alert->dismissWithClickedButtonIndex(0, false);
        return message;
    }

    // A tap at the centre of the view, as a finger gives it.
    void tap(const std::shared_ptr<ui::View>& view)
    {
        ui::TouchDriver().tap(ScreenProbe::toScreen(*view, view->bounds().center()));
    }
    // A key (Return, Escape), as a desktop host hands it over, followed by half a second.
    void pressReturn() { press(ui::KeyEvent::Key::Return); }
    void pressEscape() { press(ui::KeyEvent::Key::Escape); }
    void press(ui::KeyEvent::Key key)
    {
        ui::Application::shared().inputHandler()->key({ key, clock->now(), std::nullopt });
        pass(0.5);
    }

    // The colour the screen shows at a point of the view's bounds (of the window's, for a window): the whole
    // screen is laid out, drawn and rendered first, so whatever covers the point is what counts.
    static gfx::Color colourAt(const std::shared_ptr<ui::View>& view, gfx::Point point)
    {
        return ScreenProbe::colourAt(*view, point);
    }
    // Whether a visible label or text field whose text contains `text` has its text (laid out with the
    // fixed metrics) within `region` of the screen, in points, and the rendered screen shows ink there.
    static bool textInRegion(const std::string& text, const gfx::Rect& region)
    {
        return ScreenProbe::textInRegion(text, region);
    }

    size_t requestsTo(const std::string& method) { return service.requestLog().requestsTo(method).size(); }

    gfx::TextMeasurer::Override fixedText { std::make_shared<gfx::FixedTextMeasurer>() };
    TempDir serviceFolder;
    tracking_service::TrackingService service { serviceFolder.path() };
    std::shared_ptr<shell::AppDelegate> application;
    net::ReachabilityProbe::ScopedFlagsOverride network { [](const net::ReachabilityProbe&) {
        return std::optional<net::ReachabilityFlags>(net::reachability::Reachable);
    } };
};

} // namespace test
