#include "SignedInScene.h"

#include "ScratchFolder.h"
#include "base/loop/RunLoop.h"
#include "core/state/Singleton.h"
#include "gfx/drawing/Context.h"
#include "shell/start/AppDelegate.h"
#include "shell/start/LoginVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"
#include "ui/view/Screen.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/controls/TextField.h"
#include "ui/view/UpdateCycle.h"

#include <cstdlib>
#include <string>

namespace bench {

SignedInScene::SignedInScene()
    : m_home(makeScratchFolder("lumet-bench"))
{
    // Everything the application stores goes below this temporary data root, removed when the binary exits:
    // the objects that outlive the scene (the local message store, the user defaults) still write under it.
    setenv("LUMET_HOME", (m_home / "home").c_str(), 1);
    ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    ui::Screen::main().setScale(2);
    m_service = std::make_unique<tracking_service::TrackingService>(m_home / "service");
    if (!m_service->start())
        return;
    core::Singleton::shared().setServer(m_service->rootUrl());
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
    m_application.reset();
    settle();
    if (m_service)
        m_service->stop();
}

bool SignedInScene::waitUntil(const std::function<bool()>& done, base::Duration limit)
{
    return base::RunLoop::main().runUntil(done, limit);
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
