#include "SignedInScene.h"

#include "ScratchFolder.h"
#include "base/loop/RunLoop.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "kit/drawer/DrawerController.h"
#include "shell/menu/ExpansionListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/start/AppDelegate.h"
#include "shell/start/LoginVC.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"
#include "ui/controls/TextField.h"
#include "ui/render/ScreenFrame.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"

#include <cstdlib>
#include <string>

namespace bench {

namespace {

    // The picture that waits keep up to date, while a scene shows frames.
    ui::ScreenFrame* shownFrame = nullptr;

} // namespace

SignedInScene::SignedInScene()
    : m_home(makeScratchFolder("lumet-bench"))
{
    m_service = std::make_unique<tracking_service::TrackingService>(m_home / "service");
    if (m_service->start())
        signIn(m_service->rootUrl());
}

SignedInScene::SignedInScene(const std::string& serviceRoot)
    : m_home(makeScratchFolder("lumet-bench"))
{
    signIn(serviceRoot);
}

void SignedInScene::signIn(const std::string& serviceRoot)
{
    // Everything the application stores goes below this temporary data root, removed when the binary exits:
    // the objects that outlive the scene (the local message store, the user defaults) still write under it.
    setenv("LUMET_HOME", (m_home / "home").c_str(), 1);
    ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    ui::Screen::main().setScale(2);
    core::Singleton::shared().setServer(serviceRoot);
    m_application = std::make_shared<shell::AppDelegate>();
    m_application->didFinishLaunching({});
    auto login = m_application->loginScreen();
    login->accountField()->setText(tracking_service::DemoData::AccountName);
    login->passwordField()->setText(tracking_service::DemoData::Password);
    login->signIn();
    m_ready = waitUntil([] {
        auto home = shell::TourContext::home();
        return home && home->deviceDetail() && shell::TourContext::networkIdle();
    });
    settle();
}

SignedInScene::~SignedInScene()
{
    shownFrame = nullptr;
    m_application.reset();
    settle();
    if (m_service)
        m_service->stop();
}

void SignedInScene::showFrames()
{
    m_frame = std::make_unique<ui::ScreenFrame>();
    shownFrame = m_frame.get();
    shownFrame->update();
}

bool SignedInScene::waitUntil(const std::function<bool()>& done, base::Duration limit)
{
    return base::RunLoop::main().runUntil(
        [&] {
            if (shownFrame)
                shownFrame->update();
            return done();
        },
        limit);
}

bool SignedInScene::openMenuScreen(const std::string& key)
{
    const ui::ViewController* before = shell::TourContext::centreRoot().get();
    // The menu opens its rows' screens with the record it fetches when it is shown.
    if (auto drawer = shell::TourContext::container())
        drawer->openDrawerSide(kit::DrawerSide::Left, false);
    waitUntil([] {
        auto menu = shell::TourContext::menu();
        return menu && menu->device() && shell::TourContext::networkIdle();
    });
    shell::TourContext::openMenuRow(key);
    bool opened = waitUntil([&] {
        return shell::TourContext::centreRoot().get() != before && shell::TourContext::networkIdle()
            && shell::TourContext::drawerAtRest(kit::DrawerSide::None);
    });
    settle();
    return opened;
}

void SignedInScene::settle()
{
    waitUntil([] { return shell::TourContext::networkIdle(); });
    waitUntil([] { return false; }, base::Duration(1));
}

void measureFrames(benchmark::State& state, bool ready)
{
    if (!ready) {
        state.SkipWithError("the screen did not come up");
        return;
    }
    auto context = gfx::Context::makeBitmap(ui::Screen::main().bounds().size, ui::Screen::main().scale(), true);
    for (auto _ : state) {
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace bench
