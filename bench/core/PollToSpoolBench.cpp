// A poll's reply from its arrival to being safe on disk, as the application writes it: each piece the network
// layer hands over (libcurl's write buffer, 16 KB) goes to the spool as it arrives (ArrivingReply: a locked
// temporary file begun with the reply's first line), and the whole is then synced and named (fsync, rename,
// fsync of the folder). Beside it the bare POSIX calls for the same pieces: open, a write per piece, fsync,
// rename, fsync of the folder. Replies of 1, 500 and 5,000 messages.
//
// Both sides spend their time in the kernel and waiting for the disk, which an instruction count does not see:
// each case reports its CPU time per reply in user and kernel mode (user_us, system_us), and scripts/bench
// leaves such a case out of its instruction ratios.
#include "ScratchFolder.h"
#include "base/system/Paths.h"
#include "core/messages/ArrivingReply.h"
#include "core/messages/MessageSpool.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The most libcurl hands to its write callback at once.
constexpr size_t PieceBytes = 16 << 10;

void useScratchDataRoot()
{
    static const bool done = [] {
        if (auto folder = bench::makeScratchFolder("spool-bench"); !folder.empty())
            setenv("LUMET_HOME", folder.c_str(), 1);
        return true;
    }();
    (void)done;
}

std::string reply(size_t messages)
{
    std::string text = R"({"d":[)";
    for (size_t i = 0; i < messages; ++i) {
        text += i ? "," : "";
        text += R"({"_id":"m)" + std::to_string(i)
            + R"(","Desc":"","Context":"message text","From":"LW3600000001","To":"ann","MsgType":3,)"
            + R"("CreateTime":"/Date(1765101600000)/"})";
    }
    return text + "]}";
}

// Calls `write` with each piece of the text, as the network layer hands a reply over.
template <typename Write> bool inPieces(std::string_view text, Write write)
{
    for (size_t start = 0; start < text.size(); start += PieceBytes)
        if (!write(text.substr(start, std::min(PieceBytes, text.size() - start))))
            return false;
    return true;
}

// The thread's CPU time in user and kernel mode over the measured parts of a case.
class CpuTime {
public:
    void start() { m_start = now(); }
    void stop()
    {
        rusage end = now();
        m_user += microseconds(end.ru_utime) - microseconds(m_start.ru_utime);
        m_system += microseconds(end.ru_stime) - microseconds(m_start.ru_stime);
    }
    void report(benchmark::State& state) const
    {
        auto replies = static_cast<double>(state.iterations());
        state.counters["user_us"] = m_user / replies;
        state.counters["system_us"] = m_system / replies;
    }

private:
    static rusage now()
    {
        rusage usage {};
        getrusage(RUSAGE_THREAD, &usage);
        return usage;
    }
    static double microseconds(const timeval& time)
    {
        return static_cast<double>(time.tv_sec) * 1e6 + static_cast<double>(time.tv_usec);
    }

    rusage m_start {};
    double m_user { 0 };
    double m_system { 0 };
};

void removeReplies()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(core::MessageSpool::folder(), error))
        if (entry.path().extension() == core::MessageSpool::ReplyExtension)
            std::filesystem::remove(entry.path(), error);
}

void spoolOurs(benchmark::State& state, size_t messages)
{
    useScratchDataRoot();
    std::string text = reply(messages);
    CpuTime cpu;
    for (auto _ : state) {
        cpu.start();
        core::ArrivingReply arriving({ "ann", true });
        inPieces(text, [&](std::string_view piece) {
            arriving.append(reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
            return true;
        });
        bool kept = arriving.finish();
        cpu.stop();
        if (!kept) {
            state.SkipWithError("the spool did not take the reply");
            break;
        }
        state.PauseTiming();
        removeReplies();
        state.ResumeTiming();
    }
    cpu.report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void spoolPosix(benchmark::State& state, size_t messages)
{
    useScratchDataRoot();
    std::string text = reply(messages);
    auto folder = base::Paths::dataRoot() / "posix";
    std::filesystem::create_directories(folder);
    auto temporary = (folder / ".reply.tmp").string();
    auto target = (folder / "reply").string();
    CpuTime cpu;
    for (auto _ : state) {
        cpu.start();
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        bool ok = fd >= 0 && inPieces(text, [&](std::string_view piece) {
            return ::write(fd, piece.data(), piece.size()) == static_cast<ssize_t>(piece.size());
        }) && ::fsync(fd) == 0;
        ok = fd >= 0 && ::close(fd) == 0 && ok && ::rename(temporary.c_str(), target.c_str()) == 0;
        int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = dir >= 0 && ::fsync(dir) == 0 && ::close(dir) == 0 && ok;
        cpu.stop();
        if (!ok) {
            state.SkipWithError("the write failed");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove(target);
        state.ResumeTiming();
    }
    cpu.report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

const bool registered = [] {
    for (size_t messages : { 1, 500, 5000 }) {
        std::string input = std::to_string(messages);
        benchmark::RegisterBenchmark(("PollToSpool/ours/" + input).c_str(), spoolOurs, messages)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("PollToSpool/posix/" + input).c_str(), spoolPosix, messages)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
    }
    return true;
}();

} // namespace
