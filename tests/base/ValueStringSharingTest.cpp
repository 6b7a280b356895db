#include "base/values/StringReference.h"
#include "base/values/StringStorage.h"
#include "base/values/Value.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using base::Value;

namespace {

const std::string longText = "a text longer than any string keeps within itself";

// An owner that counts the references taken to its strings, as a decoded document's memory does.
class CountingOwner final : public base::StringStorageOwner {
public:
    void retainStrings() override { references.fetch_add(1); }
    void releaseStrings() override { references.fetch_sub(1); }

    std::atomic<int> references { 0 };
};

} // namespace

TEST(ValueStringSharing, CopiesHoldTheSameTextAndNoneChangesAnother)
{
    for (const std::string& text : { std::string("short"), longText, std::string() }) {
        Value original(text);
        Value copy = original;
        Value assigned;
        assigned = copy;
        EXPECT_EQ(copy.string(), original.string()) << "a copy shares the characters, it does not copy them";
        EXPECT_EQ(assigned.string(), original.string());

        original = Value("replaced");
        EXPECT_EQ(*copy.string(), text);
        EXPECT_EQ(*assigned.string(), text);
        Value moved = std::move(copy);
        EXPECT_EQ(moved.string(), assigned.string());
        copy = Value(2);
        EXPECT_EQ(*moved.string(), text);
        EXPECT_EQ(*original.string(), "replaced");
        const Value& alias = assigned;
        assigned = alias;
        EXPECT_EQ(*assigned.string(), text) << "assigning a value to itself keeps it";
    }
}

TEST(ValueStringSharing, AMovedFromStringIsEmptyAndReusable)
{
    Value source(longText);
    Value target = std::move(source);
    ASSERT_TRUE(source.isString());
    EXPECT_EQ(*source.string(), "");
    EXPECT_EQ(source, Value(""));
    Value again = source;
    EXPECT_EQ(*again.string(), "");
    source = Value("new");
    EXPECT_EQ(*source.string(), "new");
    EXPECT_EQ(*target.string(), longText);
}

TEST(ValueStringSharing, BorrowedStringsCountOnlyOnceTheyLeaveTheirContainer)
{
    CountingOwner owner;
    {
        base::StringStorage storage(longText, owner);
        Value borrowed(base::StringReference::Borrow {}, storage);
        EXPECT_EQ(*borrowed.string(), longText);
        EXPECT_EQ(owner.references, 0);
        {
            Value copy = borrowed;
            EXPECT_EQ(owner.references, 1);
            EXPECT_EQ(copy.string(), borrowed.string());
            Value moved = std::move(borrowed);
            EXPECT_EQ(owner.references, 2) << "a move out of the container must not depend on the container";
            EXPECT_EQ(*borrowed.string(), longText) << "the borrowed value stays what it was";
            Value assigned;
            assigned = std::move(moved);
            EXPECT_EQ(owner.references, 2);
            assigned = Value(1);
            EXPECT_EQ(owner.references, 1);
        }
        EXPECT_EQ(owner.references, 0);
    }
    EXPECT_EQ(owner.references, 0);
}

TEST(ValueStringSharing, ThreadsCopyAndDropOneStringAtOnce)
{
    CountingOwner owner;
    base::StringStorage ownedStorage(longText, owner);
    const Value shared(longText);
    const Value borrowed(base::StringReference::Borrow {}, ownedStorage);
    std::vector<std::thread> threads;
    std::atomic<int> mismatches { 0 };
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&] {
            std::vector<Value> held;
            for (int i = 0; i < 2000; ++i) {
                held.push_back(i % 2 ? shared : borrowed);
                if (*held.back().string() != longText)
                    ++mismatches;
                if (held.size() > 16)
                    held.erase(held.begin(), held.begin() + 8);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(owner.references, 0);
    // The heap storage is freed once, with the last reference (AddressSanitizer and LeakSanitizer check).
    EXPECT_EQ(*shared.string(), longText);
}
