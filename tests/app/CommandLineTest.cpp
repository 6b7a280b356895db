// The command line of lumet-companion, and how a headless run it starts ends.
#include "app/CommandLine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::optional<app::CommandLine> parse(std::vector<const char*> arguments, std::string* error = nullptr)
{
    arguments.insert(arguments.begin(), "lumet-companion");
    return app::CommandLine::parse(static_cast<int>(arguments.size()), arguments.data(), error);
}

TEST(CommandLine, NothingAskedMeansAWindowAgainstTheConfiguredServer)
{
    auto options = parse({});
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->server);
    EXPECT_FALSE(options->headless);
    EXPECT_FALSE(options->tour);
    EXPECT_EQ(options->snapshots, "snapshots");
}

TEST(CommandLine, EveryOptionIsRead)
{
    auto options = parse({ "--server", "http://127.0.0.1:4321", "--headless", "--tour", "--snapshots", "/tmp/pictures",
        "--account", "lumet_demo", "--password", "demo1234", "--verbose" });
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->verbose);
    EXPECT_EQ(options->server, "http://127.0.0.1:4321");
    EXPECT_TRUE(options->headless);
    EXPECT_TRUE(options->tour);
    EXPECT_EQ(options->snapshots, "/tmp/pictures");
    EXPECT_EQ(options->account, "lumet_demo");
    EXPECT_EQ(options->password, "demo1234");
    EXPECT_TRUE(parse({ "--help" })->help);
}

TEST(CommandLine, UnknownOptionsMissingValuesAndOtherAddressesAreRefused)
{
    std::string error;
    EXPECT_FALSE(parse({ "--window" }, &error));
    EXPECT_NE(error.find("--window"), std::string::npos);
    EXPECT_FALSE(parse({ "--server" }, &error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
    for (const char* address : { "127.0.0.1:8080", "ftp://host", "http://", "file:///tmp" })
        EXPECT_FALSE(parse({ "--server", address })) << address;
    std::string longest = "http://127.0.0.1/" + std::string(2048 - 17, 'a');
    EXPECT_TRUE(parse({ "--server", longest.c_str() }));
    std::string tooLong = longest + "a";
    EXPECT_FALSE(parse({ "--server", tooLong.c_str() }, &error));
    EXPECT_NE(error.find("2 KB"), std::string::npos);
}

// The headless executable, started against a server that is not there, with a data root of its own.
class HeadlessRun {
public:
    explicit HeadlessRun(const test::TempDir& folder)
        : m_pictures(folder.path() / "pictures")
    {
        // Made before the fork: the child only redirects its output and executes.
        std::vector<std::string> arguments { LUMET_COMPANION_PATH, "--headless", "--server", "http://127.0.0.1:9",
            "--snapshots", m_pictures.string() };
        std::vector<std::string> environment { "LUMET_HOME=" + (folder.path() / "home").string() };
        for (char** variable = environ; *variable; ++variable)
            if (!std::string_view(*variable).starts_with("LUMET_HOME=")
                && !std::string_view(*variable).starts_with("DBUS_SESSION_BUS_ADDRESS="))
                environment.emplace_back(*variable);
        auto pointers = [](std::vector<std::string>& texts) {
            std::vector<char*> list;
            for (auto& text : texts)
                list.push_back(text.data());
            list.push_back(nullptr);
            return list;
        };
        auto argv = pointers(arguments);
        auto envp = pointers(environment);
        int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        m_child = ::fork();
        if (m_child == 0) {
            ::dup2(quiet, STDOUT_FILENO);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(quiet);
    }

    // Whether the run has blocked the interruptions it takes (its main thread's mask holds SIGTERM): from then
    // on it ends by its own hand when one comes.
    bool takesInterruptions() const
    {
        std::ifstream status("/proc/" + std::to_string(m_child) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.starts_with("SigBlk:"))
                return (std::strtoull(line.c_str() + 7, nullptr, 16) >> (SIGTERM - 1)) & 1;
        return false;
    }

    // Sends the signal once the run takes interruptions.
    void send(int signal)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!takesInterruptions() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::kill(m_child, signal);
    }

    // Sends the signal as send() does; the wait status of the run's end.
    int endWith(int signal)
    {
        send(signal);
        int status = 0;
        ::waitpid(m_child, &status, 0);
        return status;
    }

    bool wroteLastPicture() const { return std::filesystem::exists(m_pictures / "last.png"); }

private:
    std::filesystem::path m_pictures;
    pid_t m_child { -1 };
};

// A closed terminal (SIGHUP) and a quit end the run as SIGTERM does: it writes its last picture and exits
// with status 0 after the wait for a poll or store in flight, rather than being ended by the signal.
TEST(HeadlessRun, AHangUpOrAQuitEndsTheRunAsATerminationDoes)
{
    for (int signal : { SIGTERM, SIGHUP, SIGQUIT }) {
        test::TempDir folder;
        HeadlessRun run(folder);
        int status = run.endWith(signal);
        EXPECT_TRUE(WIFEXITED(status)) << strsignal(signal) << " ended it: " << strsignal(WTERMSIG(status));
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << strsignal(signal);
        EXPECT_TRUE(run.wroteLastPicture()) << strsignal(signal);
    }
}

// A write past the file-size limit (ulimit -f) raises SIGXFSZ, which would end the run in the middle of a reply:
// the run ignores it (the write then fails as on a full disk), and ends only when asked.
TEST(HeadlessRun, TheFileSizeLimitSignalDoesNotEndTheRun)
{
    test::TempDir folder;
    HeadlessRun run(folder);
    run.send(SIGXFSZ);
    int status = run.endWith(SIGTERM);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by " << strsignal(WTERMSIG(status));
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

} // namespace
