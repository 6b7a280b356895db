#include "base/loop/Task.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

// Counts the copies of what a task captures that are still alive.
struct Capture {
    std::shared_ptr<int> life = std::make_shared<int>(0);
    long alive() const { return life.use_count() - 1; }
};

} // namespace

TEST(Task, EmptyTasksAreFalse)
{
    EXPECT_FALSE(base::Task());
    EXPECT_FALSE(base::Task(nullptr));
    EXPECT_FALSE(base::Task(std::function<void()>()));
    void (*none)() = nullptr;
    EXPECT_FALSE(base::Task(none));
    EXPECT_TRUE(base::Task([] {}));
}

TEST(Task, RunsAgainUntilReleased)
{
    int runs = 0;
    base::Task task = [&runs] { ++runs; };
    task();
    task();
    EXPECT_EQ(runs, 2);
}

TEST(Task, SmallAndLargeCapturesAreReleasedExactlyOnce)
{
    Capture small;
    Capture large;
    {
        base::Task first = [keep = small.life] {};
        std::array<char, base::Task::InlineBytes * 2> padding {};
        base::Task second = [keep = large.life, padding] { (void)padding; };
        EXPECT_EQ(small.alive(), 1);
        EXPECT_EQ(large.alive(), 1);

        base::Task moved = std::move(first);
        base::Task movedLarge = std::move(second);
        EXPECT_FALSE(first);
        EXPECT_FALSE(second);
        EXPECT_EQ(small.alive(), 1);
        EXPECT_EQ(large.alive(), 1);

        moved = std::move(movedLarge);
        EXPECT_EQ(small.alive(), 0);
        EXPECT_EQ(large.alive(), 1);
        moved = nullptr;
        EXPECT_EQ(large.alive(), 0);
    }
    EXPECT_EQ(small.alive(), 0);
    EXPECT_EQ(large.alive(), 0);
}

TEST(Task, TakesMoveOnlyCapturesAndCopiesOfFunctions)
{
    int seen = 0;
    base::Task owning = [value = std::make_unique<int>(7), &seen] { seen = *value; };
    base::Task later = std::move(owning);
    later();
    EXPECT_EQ(seen, 7);

    Capture capture;
    std::function<void()> block = [keep = capture.life, &seen] { seen = 9; };
    base::Task copy = block;
    EXPECT_EQ(capture.alive(), 2);
    copy();
    EXPECT_EQ(seen, 9);
    EXPECT_TRUE(block);
}
