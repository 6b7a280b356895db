#include "base/loop/DescriptorPoller.h"

#include <gtest/gtest.h>

#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

// A pipe whose read end is ready once a byte has been written.
struct ReadyPipe {
    int fds[2] { -1, -1 };
    ReadyPipe()
    {
        EXPECT_EQ(::pipe(fds), 0);
        char byte = 'x';
        EXPECT_EQ(::write(fds[1], &byte, 1), 1);
    }
    ~ReadyPipe()
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    int readEnd() const { return fds[0]; }
};

} // namespace

// A watch removed by its own handler is made again for the next watch: the new one must get only its own
// descriptor's events, and the old handler's captures must be gone.
TEST(DescriptorPoller, AWatchRemovedInItsHandlerLeavesNothingBehindForTheNextWatch)
{
    base::DescriptorPoller poller;
    ReadyPipe first;
    ReadyPipe second;
    std::vector<int> calls;
    auto captured = std::make_shared<int>(0);
    base::DescriptorPoller::WatchId firstId = 0;
    firstId = poller.watch(first.readEnd(), POLLIN, [&, captured](short) {
        calls.push_back(1);
        poller.unwatch(firstId);
    });
    poller.pollNow();
    poller.dispatchReady();
    EXPECT_EQ(calls, std::vector<int>({ 1 }));
    EXPECT_EQ(captured.use_count(), 1);

    poller.watch(second.readEnd(), POLLIN, [&](short revents) {
        EXPECT_TRUE(revents & POLLIN);
        calls.push_back(2);
    });
    for (int turn = 0; turn < 2; ++turn) {
        poller.pollNow();
        poller.dispatchReady();
    }
    EXPECT_EQ(calls, std::vector<int>({ 1, 2, 2 }));
    EXPECT_TRUE(poller.hasWatches());
}

// Removing a watch between the poll and the dispatch keeps its handler from running.
TEST(DescriptorPoller, AWatchRemovedBeforeTheDispatchIsNotCalled)
{
    base::DescriptorPoller poller;
    ReadyPipe pipe;
    int calls = 0;
    auto id = poller.watch(pipe.readEnd(), POLLIN, [&](short) { ++calls; });
    poller.pollNow();
    poller.unwatch(id);
    poller.dispatchReady();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(poller.hasWatches());
}
