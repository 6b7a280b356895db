// Full frames of the voice-messaging screens, as the hosts render them (640 x 1136 pixels): the chat screen
// with a conversation of texts and voice messages in both directions, its list rebuilt each frame, and the
// same screen under the recording overlay. The local store is a temporary folder; the chosen server is an
// address where nothing answers, so the screen's asking fails quietly in the background.
#include "base/Date.h"
#include "base/UserDefaults.h"
#include "chat/ChatVC.h"
#include "chat/RecordHUD.h"
#include "core/DBManager.h"
#include "core/ServiceProtocol.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "gfx/Context.h"
#include "ui/NavigationController.h"
#include "ui/Screen.h"
#include "ui/ScreenRenderer.h"
#include "ui/TableView.h"
#include "ui/UpdateCycle.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* account = "bench_account";
constexpr const char* watch = "LW3600000001";
constexpr size_t messageCount = 12;

void storeConversation()
{
    std::filesystem::path home = std::filesystem::temp_directory_path() / "lumet-chat-bench";
    std::filesystem::remove_all(home);
    setenv("LUMET_HOME", home.c_str(), 1);
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject(base::Value(account), core::SettingsKeys::LoginName2);
    core::Singleton::shared().setLastSerialnumber(watch);
    core::Singleton::shared().setServer("http://127.0.0.1:9");
    base::Date start = base::Date::now().dateByAddingTimeInterval(-3600);
    for (int i = 0; i < static_cast<int>(messageCount); ++i) {
        core::UserMessageQuery message;
        message.id_ = "bench-" + std::to_string(i);
        bool own = i % 2 == 0;
        message.from = own ? account : watch;
        message.to = own ? watch : account;
        message.fromIconName = own ? "icon01.png" : "icon02.png";
        message.toIconName = own ? "icon02.png" : "icon01.png";
        message.userName = account;
        if (i % 3 == 2) {
            message.msgType = own ? 5 : 3;
            message.desc = own ? std::optional<std::string>() : core::ServiceProtocol::VoiceMarker;
            message.context = "voice.amr";
        } else {
            message.msgType = 3;
            message.context = "Message " + std::to_string(i) + ": on our way home 我们在回家的路上";
        }
        message.createTime = start.dateByAddingTimeInterval(i * 240);
        core::DBManager::saveOrUpdataUserChatQuery(message);
    }
}

struct ChatScene {
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<chat::ChatVC> chat;

    ChatScene()
    {
        ui::Screen::main().setBounds({ 0, 0, 320, 568 });
        ui::Screen::main().setScale(2);
        storeConversation();
        chat = chat::ChatVC::make();
        window = std::make_shared<ui::Window>();
        window->setRootViewController(ui::NavigationController::withRootViewController(chat));
        window->makeKeyAndVisible();
        ui::UpdateCycle::main().runPasses();
    }
};

void chatFrame(benchmark::State& state)
{
    ChatScene scene;
    if (scene.chat->allMessagesFrame().size() != messageCount)
        state.SkipWithError("the conversation is not shown");
    auto context = gfx::Context::makeBitmap({ 320, 568 }, 2, true);
    for (auto _ : state) {
        scene.chat->tableView()->reloadData();
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

void recordingFrame(benchmark::State& state)
{
    ChatScene scene;
    if (scene.chat->allMessagesFrame().size() != messageCount)
        state.SkipWithError("the conversation is not shown");
    chat::RecordHUD::show();
    chat::RecordHUD::setImage("mic_3");
    auto context = gfx::Context::makeBitmap({ 320, 568 }, 2, true);
    for (auto _ : state) {
        chat::RecordHUD::setTimeTitle("Recording: 3\"");
        scene.chat->tableView()->reloadData();
        ui::UpdateCycle::main().runPasses();
        ui::ScreenRenderer::render(*context);
        benchmark::DoNotOptimize(context->bitmap()->data);
    }
    state.SetItemsProcessed(state.iterations());
}

const bool registered = [] {
    benchmark::RegisterBenchmark("ChatScreenFrame/ours/conversation", chatFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ChatScreenFrame/ours/recording", recordingFrame)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
