// The application started as a user starts it, in a window, timed from the launch to the first frame it
// presents there: the loader, the start-up of the shell, the login screen's first layout and drawing. The
// window is on SDL's offscreen video driver, so that no display is needed. The launches share a data root that
// an untimed first launch made (as every launch but a user's very first finds it), use a server address where
// nothing answers, and are killed once the frame is out. No peer: the case holds the start-up budget.
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr const char* firstFrameLine = "first frame presented";
constexpr int frameTimeLimitMs = 10000;

std::filesystem::path makeDataRoot()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lumet-launch-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

// The environment of the launch: ours, with the data root, the video driver and the host's trace set.
std::vector<std::string> launchEnvironment(const std::filesystem::path& home)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text(*entry);
        if (!text.starts_with("LUMET_HOME=") && !text.starts_with("LUMET_LOG=")
            && !text.starts_with("SDL_VIDEODRIVER="))
            entries.emplace_back(text);
    }
    entries.push_back("LUMET_HOME=" + home.string());
    entries.push_back("LUMET_LOG=host");
    entries.push_back("SDL_VIDEODRIVER=offscreen");
    return entries;
}

// Reads the child's log until the first-frame line; whether it came in time.
bool waitForFirstFrame(int log)
{
    std::string text;
    char buffer[4096];
    pollfd watched { log, POLLIN, 0 };
    while (text.find(firstFrameLine) == std::string::npos) {
        if (poll(&watched, 1, frameTimeLimitMs) <= 0)
            return false;
        ssize_t count = read(log, buffer, sizeof buffer);
        if (count <= 0)
            return false;
        text.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

// Seconds from the launch to the first frame, or nothing when it did not come.
std::optional<double> launchToFirstFrame(const std::filesystem::path& home)
{
    auto environment = launchEnvironment(home);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    char program[] = LUMET_COMPANION_PATH;
    char serverOption[] = "--server";
    char server[] = "http://127.0.0.1:9";
    char* argv[] = { program, serverOption, server, nullptr };

    int log[2];
    if (pipe(log) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, log[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, log[0]);

    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    bool spawned = posix_spawn(&child, program, &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(log[1]);
    bool framed = spawned && waitForFirstFrame(log[0]);
    auto elapsed = std::chrono::steady_clock::now() - start;
    if (spawned) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(log[0]);
    if (!framed)
        return std::nullopt;
    return std::chrono::duration<double>(elapsed).count();
}

void launch(benchmark::State& state)
{
    auto home = makeDataRoot();
    if (home.empty() || !launchToFirstFrame(home)) {
        state.SkipWithError("the application showed no frame");
        return;
    }
    for (auto _ : state) {
        auto seconds = launchToFirstFrame(home);
        if (!seconds) {
            state.SkipWithError("the application showed no frame");
            break;
        }
        state.SetIterationTime(*seconds);
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Launch/ours/first-frame", launch)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(15)
        ->DisplayAggregatesOnly(true);
    return true;
}();

} // namespace
