// A poll's reply from its arrival to being safe on disk: ours writes it to the message spool as received (its
// first line, a temporary file, fsync, rename, fsync of the folder), beside the bare write, fsync and rename of
// the same bytes with POSIX calls. Replies of 1, 500 and 5,000 messages.
#include "base/system/Paths.h"
#include "core/messages/MessageSpool.h"
#include "ScratchFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

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

void spoolOurs(benchmark::State& state, size_t messages)
{
    useScratchDataRoot();
    std::string text = reply(messages);
    const core::ReplyContext arrival { "ann", true };
    for (auto _ : state) {
        auto file = core::MessageSpool::add(text, arrival);
        if (file.empty()) {
            state.SkipWithError("the spool did not take the reply");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove(file);
        state.ResumeTiming();
    }
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
    for (auto _ : state) {
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        bool ok
            = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
        ok = fd >= 0 && ::close(fd) == 0 && ok && ::rename(temporary.c_str(), target.c_str()) == 0;
        int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ok = dir >= 0 && ::fsync(dir) == 0 && ::close(dir) == 0 && ok;
        if (!ok) {
            state.SkipWithError("the write failed");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove(target);
        state.ResumeTiming();
    }
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
