// Full 640 x 1136 pixel frames of the voice-messaging screens in the signed-in application against the
// in-process local service: the chat with the watch (its two voice messages and a dozen texts in both
// directions), the same chat under the recording overlay while the talk button is held, and the
// sound-command panel of a tracker. No peer: the cases hold the frame budget.
#include "SignedInScene.h"

#include "base/time/Date.h"
#include "chat/ChatVC.h"
#include "chat/RecordButton.h"
#include "chat/RecordHUD.h"
#include "core/messages/DBManager.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"
#include "ui/controls/Button.h"

#include <benchmark/benchmark.h>

namespace {

using tracking_service::DemoData;

constexpr int textCount = 12;

bool storeTexts()
{
    base::Date start = base::Date::now().dateByAddingTimeInterval(-3600);
    for (int i = 0; i < textCount; ++i) {
        bool own = i % 2 == 0;
        core::UserMessageQuery message;
        message.id_ = "bench-" + std::to_string(i);
        message.from = own ? DemoData::AccountName : DemoData::WatchSerialNumber;
        message.to = own ? DemoData::WatchSerialNumber : DemoData::AccountName;
        message.desc = own ? std::nullopt : std::optional<std::string>("note");
        message.fromIconName = "icon01.png";
        message.toIconName = "icon02.png";
        message.userName = DemoData::AccountName;
        message.msgType = 3;
        message.context = "Message " + std::to_string(i) + ": on our way home 我们在回家的路上";
        message.createTime = start.dateByAddingTimeInterval(i * 240);
        if (!core::DBManager::saveOrUpdataUserChatQuery(message))
            return false;
    }
    return true;
}

std::shared_ptr<chat::ChatVC> openChat(bench::SignedInScene& scene)
{
    if (!scene.ready() || !storeTexts() || !shell::TourContext::pushOnHome(shell::ScreenDirectory::Chat))
        return nullptr;
    bench::SignedInScene::settle();
    auto screen = std::dynamic_pointer_cast<chat::ChatVC>(shell::TourContext::topOfCentre());
    return screen && screen->allMessagesFrame().size() >= static_cast<size_t>(textCount) ? screen : nullptr;
}

void chatFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    auto screen = openChat(scene);
    bench::measureFrames(state, screen != nullptr);
}

void recordingFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    auto screen = openChat(scene);
    if (screen) {
        screen->voiceBtnClick();
        screen->speakBtn()->sendActionsForControlEvents(ui::ControlEvent::TouchDown);
        bench::SignedInScene::settle();
    }
    bench::measureFrames(state, screen && chat::RecordHUD::shareView()->hasOverlayWindow());
    if (screen) {
        screen->speakBtn()->sendActionsForControlEvents(ui::ControlEvent::TouchCancel);
        // The overlay fades out and takes its window down: later cases must not composite it too.
        bench::SignedInScene::settle();
    }
}

void soundCommandFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    auto tracker = std::make_shared<core::Device>();
    tracker->serialNumber = DemoData::ParvoSerialNumber;
    tracker->deviceTypeID = 2;
    bool shown = scene.ready()
        && shell::ScreenDirectory::shared().showPanel(shell::ScreenDirectory::SoundCommand, tracker) != nullptr;
    bench::SignedInScene::settle();
    bench::measureFrames(state, shown);
    // The panel's window goes with it, so that later cases do not composite it too.
    kit::ModalPresenter::sharedInstance()->hideAnimated(false);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("ChatScreenFrame/ours/conversation", chatFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ChatScreenFrame/ours/recording", recordingFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ChatScreenFrame/ours/sound_command", soundCommandFrame)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
