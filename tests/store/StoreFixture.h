// Shared set-up of the store stand-in's tests: the manual clock, no store files and a fresh default queue
// before and after each test, a script writer and an observer that records what it hears.
#pragma once

#include "base/ClockFixture.h"
#include "base/system/Files.h"
#include "store/PaymentQueue.h"
#include "store/StorePaths.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace test {

class RecordingObserver : public store::PaymentTransactionObserver {
public:
    struct Heard {
        std::string transaction;
        store::PaymentTransaction::State state;
        bool removed;
    };

    void updatedTransactions(store::PaymentQueue&, const store::Transactions& transactions) override
    {
        record(transactions, false);
    }
    void removedTransactions(store::PaymentQueue&, const store::Transactions& transactions) override
    {
        record(transactions, true);
    }

    std::vector<Heard> heard;
    store::Transactions latest;

private:
    void record(const store::Transactions& transactions, bool removed)
    {
        for (const auto& transaction : transactions)
            heard.push_back({ transaction->identifier(), transaction->state(), removed });
        latest = transactions;
    }
};

class StoreTest : public ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        forgetStore();
    }
    void TearDown() override
    {
        forgetStore();
        ManualClockTest::TearDown();
    }

    static void forgetStore()
    {
        store::PaymentQueue::relaunch();
        std::error_code ignored;
        std::filesystem::remove_all(store::storeFolder(), ignored);
    }

    static void script(const std::string& text)
    {
        ASSERT_TRUE(base::Files::writeAtomically(store::scriptPath(), text));
    }

    // Runs the turns due now, and those they schedule at once.
    void settle()
    {
        for (int turn = 0; turn < 4; ++turn)
            clock->advance(0s);
    }
};

} // namespace test
