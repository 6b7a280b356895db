#include "shell/tour/Tour.h"

#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "base/loop/RunLoop.h"
#include "base/time/Timer.h"
#include "kit/drawer/DrawerController.h"
#include "shell/start/AppDelegate.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/start/LoginVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/alerts/AlertView.h"
#include "ui/alerts/AlertWindow.h"
#include "ui/view/Application.h"

namespace shell {

namespace {

    void dismissShownAlerts()
    {
        auto windows = ui::Application::shared().windows();
        for (const auto& window : windows) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            auto alert = alertWindow && alertWindow->isShown()
                ? std::dynamic_pointer_cast<ui::AlertView>(alertWindow->panel())
                : nullptr;
            if (alert)
                alert->dismissWithClickedButtonIndex(0, false);
        }
    }

    bool networkIdle() { return TourContext::networkIdle(); }
    std::shared_ptr<ui::ViewController> centreRoot() { return TourContext::centreRoot(); }
    bool drawerAtRest(kit::DrawerSide side) { return TourContext::drawerAtRest(side); }

} // namespace

Tour::Tour(std::shared_ptr<AppDelegate> application, Picture picture, Finished finished)
    : m_application(std::move(application))
    , m_picture(std::move(picture))
    , m_finished(std::move(finished))
{
}

Tour::~Tour()
{
    if (m_timer)
        m_timer->invalidate();
}

void Tour::start()
{
    auto login = m_application->loginScreen();
    m_steps.push_back({ "01-login", {},
        [login] { return login->appearanceState() == ui::ViewController::AppearanceState::Appeared; }, {} });
    m_steps.push_back({ "02-home", [login] { login->signIn(); },
        [login] {
            auto home = std::dynamic_pointer_cast<MainMenuVC>(centreRoot());
            return home && home->deviceDetail() && !login->isSigningIn() && networkIdle()
                && drawerAtRest(kit::DrawerSide::None);
        },
        {} });
    m_steps.push_back({ "03-menu",
        [login] {
            if (auto drawer = login->signedInContainer())
                drawer->openDrawerSide(kit::DrawerSide::Left, true);
        },
        [login] {
            auto drawer = login->signedInContainer();
            auto menu
                = drawer ? std::dynamic_pointer_cast<ExpansionListVC>(drawer->leftDrawerViewController()) : nullptr;
            return menu && menu->device() && networkIdle() && drawerAtRest(kit::DrawerSide::Left);
        },
        [weak = weak_from_this()] {
            if (auto self = weak.lock())
                self->addMenuScreenSteps();
        } });
    beginStep();
}

void Tour::addMenuScreenSteps()
{
    auto login = m_application->loginScreen();
    auto drawer = login->signedInContainer();
    auto menu = drawer ? std::dynamic_pointer_cast<ExpansionListVC>(drawer->leftDrawerViewController()) : nullptr;
    if (!menu)
        return;
    int number = 4;
    for (const std::string& key : menu->functions()) {
        if (!ScreenDirectory::shared().contains(key))
            continue;
        std::string picture = (number < 10 ? "0" : "") + std::to_string(number) + "-" + key;
        ++number;
        auto previous = std::make_shared<std::weak_ptr<ui::ViewController>>();
        m_steps.push_back({ picture,
            [login, menu, key, previous] {
                *previous = centreRoot();
                menu->openRowTitled(base::localized(key));
            },
            [login, previous] {
                auto drawer = login->signedInContainer();
                auto root = centreRoot();
                return root && root != previous->lock() && networkIdle() && drawerAtRest(kit::DrawerSide::None);
            },
            {} });
    }
    for (const TourStep& step : TourSteps::shared().steps())
        m_steps.push_back(step);
}

void Tour::beginStep()
{
    if (m_steps.empty()) {
        finish(true);
        return;
    }
    // Each picture shows its own screen: an alert that an earlier screen left up would cover it.
    dismissShownAlerts();
    if (m_steps.front().action)
        m_steps.front().action();
    m_waited = base::Duration(0);
    m_timer = base::Timer::scheduled(pollInterval, true, [weak = weak_from_this()](base::Timer&) {
        if (auto self = weak.lock())
            self->poll();
    });
}

void Tour::poll()
{
    m_waited += pollInterval;
    const TourStep& step = m_steps.front();
    if (step.ready && !step.ready()) {
        if (m_waited < stepTimeLimit)
            return;
        base::log("tour: \"" + step.picture + "\" was not ready in time");
        m_timer->invalidate();
        m_picture(step.picture);
        finish(false);
        return;
    }
    m_timer->invalidate();
    base::RunLoop::main().performAfter(settleTime, [weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->takePicture();
    });
}

void Tour::takePicture()
{
    TourStep step = std::move(m_steps.front());
    m_steps.pop_front();
    if (!m_picture(step.picture)) {
        base::log("tour: the picture \"" + step.picture + "\" could not be written");
        finish(false);
        return;
    }
    m_pictures.push_back(step.picture);
    if (step.then)
        step.then();
    beginStep();
}

void Tour::finish(bool succeeded)
{
    if (m_done)
        return;
    m_done = true;
    if (m_finished)
        m_finished(succeeded);
}

} // namespace shell
