// Opening the message screens over a long stored history, in the signed-in application against the
// in-process local service: the chat with the watch and the message detail, each with 100 and with 280,000
// stored messages, measured from the push to the first full frame drawn; and a scroll step of the chat, from
// the scroll to the top of what is loaded to the next frame drawn (an older page read and laid out). Every
// case also reports the longest single measured step ("longest_ms"), which holds the window up as long. No
// peer: the 280,000 cases are held to the 100 ones.
#include "SignedInScene.h"

#include "base/time/Date.h"
#include "chat/ChatVC.h"
#include "core/messages/DBManager.h"
#include "gfx/drawing/Context.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/messages/MessageInfoVC.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"
#include "ui/controllers/NavigationController.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/scroll/TableView.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using tracking_service::DemoData;
using Place = core::PendingMessage::Place;

constexpr int storeBatch = 20000;

// `count` messages between the demo account and its watch, both directions, a minute apart and ending an
// hour ago, texts of both scripts; stored in batches as polls would.
bool storeHistory(Place place, int count)
{
    base::Date start = base::Date::now().dateByAddingTimeInterval(-3600 - 60.0 * count);
    std::vector<core::PendingMessage> batch;
    for (int i = 0; i < count; ++i) {
        bool own = i % 2 == 0;
        auto message = std::make_shared<core::UserMessageQuery>();
        message->id_ = "history-" + std::to_string(i);
        message->from = own ? DemoData::AccountName : DemoData::WatchSerialNumber;
        message->to = own ? DemoData::WatchSerialNumber : DemoData::AccountName;
        message->desc = own ? std::nullopt : std::optional<std::string>("note");
        message->fromIconName = "icon01.png";
        message->toIconName = "icon02.png";
        message->userName = DemoData::AccountName;
        message->msgType = 3;
        message->context = "Message " + std::to_string(i) + ": on our way home 我们在回家的路上";
        message->createTime = start.dateByAddingTimeInterval(60.0 * i);
        batch.push_back({ message, place });
        if (batch.size() == storeBatch || i + 1 == count) {
            if (!core::DBManager::saveIncomingMessages(batch))
                return false;
            batch.clear();
        }
    }
    return true;
}

double milliseconds(std::chrono::steady_clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// One full frame as the hosts draw it.
void drawFrame(gfx::Context& context)
{
    ui::UpdateCycle::main().runPasses();
    ui::ScreenRenderer::render(context);
    benchmark::DoNotOptimize(context.bitmap()->data);
}

std::shared_ptr<gfx::Context> makeFrameContext()
{
    return gfx::Context::makeBitmap(ui::Screen::main().bounds().size, ui::Screen::main().scale(), true);
}

template <typename Screen> size_t shownRows(Screen& screen)
{
    if constexpr (std::is_same_v<Screen, chat::ChatVC>)
        return screen.allMessagesFrame().size();
    else
        return screen.messageFrames().size();
}

template <typename Screen> std::shared_ptr<Screen> makeScreen()
{
    if constexpr (std::is_same_v<Screen, chat::ChatVC>)
        return chat::ChatVC::make();
    else
        return shell::MessageInfoVC::make(shell::TourContext::home());
}

// Pushes the screen (without the slide) and draws it, over and over.
template <typename Screen> void openScreen(benchmark::State& state, Place place, int stored)
{
    bench::SignedInScene scene;
    auto home = shell::TourContext::home();
    if (!scene.ready() || !home || !storeHistory(place, stored)) {
        state.SkipWithError("the history could not be stored");
        return;
    }
    auto navigation = home->navigationController();
    auto context = makeFrameContext();
    double longest = 0;
    for (auto _ : state) {
        auto started = std::chrono::steady_clock::now();
        auto screen = makeScreen<Screen>();
        navigation->pushViewController(screen, false);
        bench::SignedInScene::waitUntil([&] { return shownRows(*screen) > 0; });
        drawFrame(*context);
        longest = std::max(longest, milliseconds(std::chrono::steady_clock::now() - started));
        state.PauseTiming();
        navigation->popViewController(false);
        bench::SignedInScene::settle();
        state.ResumeTiming();
    }
    state.counters["longest_ms"] = longest;
}

// Scrolls the chat to the top of what it has loaded and draws the frame: each step reads the page before
// and lays it out.
void scrollChat(benchmark::State& state, int stored)
{
    bench::SignedInScene scene;
    auto home = shell::TourContext::home();
    if (!scene.ready() || !home || !storeHistory(Place::Chat, stored)) {
        state.SkipWithError("the history could not be stored");
        return;
    }
    auto screen = chat::ChatVC::make();
    home->navigationController()->pushViewController(screen, false);
    bench::SignedInScene::settle();
    auto table = screen->tableView();
    auto context = makeFrameContext();
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Back to the newest page at the bottom, as when the screen appears, so that every step is alike.
        screen->viewDidAppear(false);
        drawFrame(*context);
        state.ResumeTiming();
        auto started = std::chrono::steady_clock::now();
        table->setContentOffset({ 0, 0 });
        drawFrame(*context);
        longest = std::max(longest, milliseconds(std::chrono::steady_clock::now() - started));
    }
    state.counters["longest_ms"] = longest;
    home->navigationController()->popViewController(false);
    bench::SignedInScene::settle();
}

const bool registered = [] {
    for (int stored : { 100, 280000 }) {
        std::string size = std::to_string(stored);
        benchmark::RegisterBenchmark(("MessageHistoryOpen/ours/chat_" + size).c_str(),
            [stored](benchmark::State& state) { openScreen<chat::ChatVC>(state, Place::Chat, stored); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("MessageHistoryOpen/ours/detail_" + size).c_str(),
            [stored](
                benchmark::State& state) { openScreen<shell::MessageInfoVC>(state, Place::MessageCentre, stored); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("MessageHistoryScroll/ours/chat_" + size).c_str(),
            [stored](benchmark::State& state) { scrollChat(state, stored); })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
