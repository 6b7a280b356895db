// Full 640 x 1136 pixel frames of the home screen's own screens in the signed-in application against the
// in-process local service: the account's device list and the message detail of the watch (a dozen kept
// messages, texts and voice, in both directions). No peer: the cases hold the frame budget.
#include "SignedInScene.h"

#include "base/time/Date.h"
#include "core/messages/DBManager.h"
#include "core/service/ServiceProtocol.h"
#include "shell/devices/DeviceListVC.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/messages/MessageInfoVC.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"

#include <benchmark/benchmark.h>

namespace {

using tracking_service::DemoData;

constexpr int messageCount = 12;

bool storeMessages()
{
    base::Date start = base::Date::now().dateByAddingTimeInterval(-3600);
    for (int i = 0; i < messageCount; ++i) {
        bool own = i % 3 == 0;
        bool voice = i % 3 == 1;
        core::UserMessageQuery message;
        message.id_ = "bench-detail-" + std::to_string(i);
        message.from = own ? DemoData::AccountName : DemoData::WatchSerialNumber;
        message.to = own ? DemoData::WatchSerialNumber : DemoData::AccountName;
        message.desc
            = own ? std::nullopt : std::optional<std::string>(voice ? core::ServiceProtocol::VoiceMarker : "note");
        message.fromIconName = "icon01.png";
        message.toIconName = "icon02.png";
        message.userName = DemoData::AccountName;
        message.msgType = 3;
        message.context = voice ? std::string(DemoData::VoiceFileName)
                                : "Message " + std::to_string(i) + ": arrived at school 已到学校";
        message.createTime = start.dateByAddingTimeInterval(i * 240);
        if (!core::DBManager::saveOrUpdataUserMessageQuery(message))
            return false;
    }
    return true;
}

void deviceListFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    auto home = shell::TourContext::home();
    if (scene.ready() && home)
        home->openDeviceList();
    bench::SignedInScene::waitUntil([] {
        auto list = std::dynamic_pointer_cast<shell::DeviceListVC>(shell::TourContext::topOfCentre());
        return list && !list->devices().empty() && shell::TourContext::networkIdle();
    });
    bench::SignedInScene::settle();
    auto list = std::dynamic_pointer_cast<shell::DeviceListVC>(shell::TourContext::topOfCentre());
    bench::measureFrames(state, list && !list->devices().empty());
}

void messageDetailFrame(benchmark::State& state)
{
    bench::SignedInScene scene;
    auto home = shell::TourContext::home();
    if (scene.ready() && home && storeMessages())
        home->openMessageDetail();
    bench::SignedInScene::settle();
    auto detail = std::dynamic_pointer_cast<shell::MessageInfoVC>(shell::TourContext::topOfCentre());
    bench::measureFrames(state, detail && detail->messageFrames().size() >= static_cast<size_t>(messageCount));
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Frame/ours/device-list", deviceListFrame)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/ours/message-detail", messageDetailFrame)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
