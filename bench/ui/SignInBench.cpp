// Sign-in as the user waits for it: from the press of the sign-in button on the login screen to the home
// screen holding its device record (three web calls: "Login", "GetDeviceList", "GetDeviceDetial"), in the
// application against the in-process local service, beside the same three calls made with libcurl directly.
// The application runs with no host ("quiet") and with a host's frames: after every run-loop turn that changed
// the picture or has an animation running, the screen's kept frame is brought up to date as the window host
// does it (ui::ScreenFrame, which redraws only what changed). Both sides start each timed sign-in after the
// same pause, in which the service sits idle as it does while a user types: calls made back to back find its
// threads and caches warm, which a sign-in never does.
#include "ScratchFolder.h"
#include "base/loop/RunLoop.h"
#include "core/service/ServiceClient.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/start/AppDelegate.h"
#include "shell/start/LoginVC.h"
#include "shell/tour/TourContext.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/TrackingService.h"
#include "ui/controls/TextField.h"
#include "ui/layer/Layer.h"
#include "ui/render/ScreenFrame.h"
#include "ui/view/Screen.h"
#include "ui/view/UpdateCycle.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <curl/curl.h>
#include <filesystem>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <thread>

namespace {

using core::ServiceProtocol;
using tracking_service::DemoData;

// The time between a launch and the press of the sign-in button (the launch's own turns run meanwhile).
constexpr base::Duration PauseBeforeSignIn { 0.05 };

// The application's data root, one for the whole process: its local message store stays open from one case
// (and repetition) to the next, and a store whose folder went away fails every later sign-in's writes.
void useHomeRoot()
{
    static const std::filesystem::path root = bench::makeScratchFolder("lumet-bench");
    setenv("LUMET_HOME", root.c_str(), 1);
}

// The service runs on its own half of the machine's processors and the client (the application, or libcurl)
// on the other, as a remote service never shares the client's processor. Sharing one would let the kernel
// queue the service's thread behind the client's main thread, which goes on working after it sends a request
// where a blocking libcurl call sleeps at once: that would charge the application for a wait no real
// network has. Threads take their creator's processors, so the service's threads are started under the
// service's half and everything the client starts later stays on the client's half.
class ProcessorHalves {
public:
    ProcessorHalves()
    {
        cpu_set_t all;
        CPU_ZERO(&all);
        if (sched_getaffinity(0, sizeof all, &all) != 0 || CPU_COUNT(&all) < 2)
            return;
        CPU_ZERO(&m_client);
        CPU_ZERO(&m_service);
        int seen = 0;
        const int clientCount = CPU_COUNT(&all) / 2;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &all))
                CPU_SET(cpu, seen++ < clientCount ? &m_client : &m_service);
        }
        m_split = true;
    }

    template <typename Start> auto startOnServiceHalf(Start start)
    {
        use(m_service);
        auto result = start();
        use(m_client);
        return result;
    }

private:
    void use(const cpu_set_t& set) const
    {
        if (m_split)
            pthread_setaffinity_np(pthread_self(), sizeof set, &set);
    }

    cpu_set_t m_client {};
    cpu_set_t m_service {};
    bool m_split { false };
};

// A fresh folder with the local service running in it, for one benchmark case.
class ServiceRoot {
public:
    ServiceRoot()
        : m_root(bench::makeScratchFolder("lumet-bench"))
    {
        useHomeRoot();
        m_service = std::make_unique<tracking_service::TrackingService>(m_root / "service");
        static ProcessorHalves halves;
        m_started = !m_root.empty() && halves.startOnServiceHalf([this] { return m_service->start(); });
    }
    ~ServiceRoot() { m_service->stop(); }

    bool started() const { return m_started; }
    std::string url(const char* method) const { return m_service->rootUrl() + ServiceProtocol::WebMethodPath + method; }
    std::string rootUrl() const { return m_service->rootUrl(); }

private:
    std::filesystem::path m_root;
    std::unique_ptr<tracking_service::TrackingService> m_service;
    bool m_started { false };
};

bool waitUntil(const std::function<bool()>& done, base::Duration limit = base::Duration(10))
{
    return base::RunLoop::main().runUntil(done, limit);
}

bool networkIdle() { return shell::TourContext::networkIdle(); }

bool homeHasDevice()
{
    auto home = shell::TourContext::home();
    return home && home->deviceDetail();
}

// Updates the screen's frame after each turn that changed it, as the window host presents its frames.
class FrameRenderer {
public:
    FrameRenderer()
        : m_listener(ui::UpdateCycle::main().addFrameListener([this] { renderIfChanged(); }))
    {
    }
    ~FrameRenderer() { ui::UpdateCycle::main().removeFrameListener(m_listener); }
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    int64_t frames() const { return m_frames; }

private:
    void renderIfChanged()
    {
        if (ui::Layer::changeCount() == m_renderedChange && !ui::Layer::anyAnimationRunningInWindow())
            return;
        m_renderedChange = ui::Layer::changeCount();
        benchmark::DoNotOptimize(m_frame.update());
        ++m_frames;
    }

    ui::ScreenFrame m_frame;
    uint64_t m_listener;
    uint64_t m_renderedChange { 0 };
    int64_t m_frames { 0 };
};

// One sign-in per iteration, each in a newly launched application at its login screen with the demo account
// typed in; only the time from the press to the device record counts.
void signInToDeviceDetail(benchmark::State& state, bool withFrames)
{
    ServiceRoot root;
    if (!root.started()) {
        state.SkipWithError("the local service did not start");
        return;
    }
    ui::Screen::main().setBounds(ui::Screen::defaultBounds);
    ui::Screen::main().setScale(2);
    core::Singleton::shared().setServer(root.rootUrl());
    std::optional<FrameRenderer> frames;
    if (withFrames)
        frames.emplace();
    int64_t reached = 0;
    for (auto _ : state) {
        auto application = std::make_shared<shell::AppDelegate>();
        application->didFinishLaunching({});
        auto login = application->loginScreen();
        login->accountField()->setText(DemoData::AccountName);
        login->passwordField()->setText(DemoData::Password);
        // The launch's own turns (appearance, first layout and drawing) run before the press.
        waitUntil([] { return false; }, PauseBeforeSignIn);
        if (homeHasDevice()) {
            state.SkipWithError("an earlier application is still on the screen");
            break;
        }
        auto start = std::chrono::steady_clock::now();
        login->signIn();
        reached += waitUntil(homeHasDevice);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        waitUntil(networkIdle);
        // Running animations hold the home screen past its application, and a home screen left on would poll
        // the service during the next sign-in: it goes as at a logout.
        login->dismissViewController(false);
        application.reset();
        waitUntil(networkIdle);
    }
    if (reached != state.iterations())
        state.SkipWithError("a sign-in did not reach the device record");
    if (frames)
        state.counters["frames"] = benchmark::Counter(double(frames->frames()), benchmark::Counter::kAvgIterations);
}

size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

// The header fields the application sends: its client's defaults (what it accepts, its language and user
// agent), the body's type and the encodings it takes; the session cookie comes from libcurl's engine.
curl_slist* clientHeaders(CURL* curl)
{
    auto client = core::ServiceClient::sharedClient();
    curl_slist* headers = nullptr;
    for (const char* name : { "Accept", "Accept-Language", "User-Agent" }) {
        std::string line = std::string(name) + ": " + client->defaultValueForHeader(name).value_or("");
        headers = curl_slist_append(headers, line.c_str());
    }
    headers = curl_slist_append(headers, "Content-Type: application/json; charset=utf-8");
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    return headers;
}

// The same three calls with one libcurl handle (its connection kept where the service allows it) and libcurl's
// own cookie engine carrying the session, each time after the pause the application's sign-in follows.
void threeRawCalls(benchmark::State& state)
{
    ServiceRoot root;
    CURL* curl = curl_easy_init();
    if (!root.started() || !curl) {
        state.SkipWithError("the local service or libcurl did not start");
        return;
    }
    curl_slist* headers = clientHeaders(curl);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &discardBody);
    const std::string login = std::string(R"({"LoginName":")") + DemoData::AccountName + R"(","Password":")"
        + DemoData::Password + R"(","Token":" "})";
    const std::string list = std::string(R"({"LoginName":")") + DemoData::AccountName + R"("})";
    const std::string detail = std::string(R"({"SerialNumber":")") + DemoData::WatchSerialNumber + R"("})";
    const std::pair<std::string, const std::string*> calls[] = { { root.url(ServiceProtocol::LoginMethod), &login },
        { root.url(ServiceProtocol::DeviceListMethod), &list }, { root.url("GetDeviceDetial"), &detail } };
    for (auto _ : state) {
        std::this_thread::sleep_for(PauseBeforeSignIn);
        auto start = std::chrono::steady_clock::now();
        for (const auto& [url, body] : calls) {
            curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->c_str());
            long status = 0;
            if (curl_easy_perform(curl) != CURLE_OK
                || curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) {
                state.SkipWithError("a raw call failed");
                break;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("SignIn/ours/quiet", signInToDeviceDetail, false)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SignIn/ours/frames", signInToDeviceDetail, true)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SignIn/libcurl/three-calls", threeRawCalls)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
