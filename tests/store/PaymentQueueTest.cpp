#include "store/PaymentQueue.h"
#include "base/system/Bundle.h"
#include "base/system/Files.h"
#include "store/Receipt.h"
#include "store/StoreFixture.h"
#include "store/StorePaths.h"

namespace {

using State = store::PaymentTransaction::State;

class PaymentQueue : public test::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        queue = store::PaymentQueue::defaultQueue();
        queue->addTransactionObserver(observer);
    }

    std::shared_ptr<store::PaymentQueue> queue;
    std::shared_ptr<test::RecordingObserver> observer = std::make_shared<test::RecordingObserver>();
    const std::string product = base::Bundle::main().identifier() + ".Permanent";
};

TEST_F(PaymentQueue, WithoutScriptAPurchaseSucceedsAndIsAnnouncedOnLaterTurns)
{
    EXPECT_TRUE(store::PaymentQueue::canMakePayments());
    queue->addPayment({ product });
    EXPECT_TRUE(observer->heard.empty()) << "observers hear nothing inside addPayment";
    settle();
    ASSERT_EQ(observer->heard.size(), 2u);
    EXPECT_EQ(observer->heard[0].state, State::Purchasing);
    EXPECT_EQ(observer->heard[1].state, State::Purchased);
    auto receipt = base::Files::read(store::receiptURL());
    ASSERT_TRUE(receipt);
    EXPECT_TRUE(store::Receipt::isMadeByLocalStore(*receipt));
    EXPECT_NE(receipt->find(observer->heard[1].transaction + " " + product), std::string::npos);
}

TEST_F(PaymentQueue, ScriptedOutcomesComeInTurnAfterTheirDelayAndTheLastRepeats)
{
    script("\"outcomes\" = \"failed restored unfinished purchased\";\n\"delay\" = \"1.5\";\n");
    for (int payment = 0; payment < 5; ++payment)
        queue->addPayment({ product });
    settle();
    EXPECT_EQ(observer->heard.size(), 5u) << "only the purchasing states so far";
    clock->advance(1.4s);
    EXPECT_EQ(observer->heard.size(), 5u);
    clock->advance(0.1s);
    settle();
    std::vector<State> outcomes;
    for (size_t index = 5; index < observer->heard.size(); ++index)
        outcomes.push_back(observer->heard[index].state);
    EXPECT_EQ(outcomes, (std::vector { State::Failed, State::Restored, State::Purchased, State::Purchased }));
    EXPECT_EQ(queue->transactions().size(), 5u) << "nothing is finished by itself";
}

TEST_F(PaymentQueue, RefusedPaymentsAndAnEmptyScriptFollowTheScript)
{
    script("\"payments\" = \"refused\";");
    EXPECT_FALSE(store::PaymentQueue::canMakePayments());
    script("/* nothing */");
    EXPECT_TRUE(store::PaymentQueue::canMakePayments());
}

TEST_F(PaymentQueue, FinishingRemovesAndAnnouncesButNotWhilePurchasing)
{
    script("\"outcomes\" = \"unfinished purchased\";");
    queue->addPayment({ product });
    queue->addPayment({ product });
    settle();
    auto stillPurchasing = queue->transactions().front();
    auto purchased = queue->transactions().back();
    ASSERT_EQ(purchased->state(), State::Purchased);
    queue->finishTransaction(stillPurchasing);
    queue->finishTransaction(purchased);
    settle();
    EXPECT_EQ(queue->transactions(), store::Transactions { stillPurchasing });
    ASSERT_FALSE(observer->heard.empty());
    EXPECT_TRUE(observer->heard.back().removed);
    EXPECT_EQ(observer->heard.back().transaction, purchased->identifier());
}

TEST_F(PaymentQueue, AnUnfinishedTransactionIsDeliveredAgainToTheFirstObserverAfterARelaunch)
{
    script("\"outcomes\" = \"purchased failed\";");
    queue->addPayment({ product });
    queue->addPayment({ product });
    settle();
    auto kept = queue->transactions().front()->identifier();
    queue->finishTransaction(queue->transactions().back());
    settle();

    store::PaymentQueue::relaunch();
    auto again = store::PaymentQueue::defaultQueue();
    ASSERT_NE(again, queue);
    auto first = std::make_shared<test::RecordingObserver>();
    auto second = std::make_shared<test::RecordingObserver>();
    again->addTransactionObserver(first);
    again->addTransactionObserver(second);
    settle();
    ASSERT_EQ(first->heard.size(), 1u);
    EXPECT_EQ(first->heard[0].transaction, kept);
    EXPECT_EQ(first->heard[0].state, State::Purchased);
    EXPECT_TRUE(second->heard.empty());

    again->finishTransaction(first->latest.front());
    store::PaymentQueue::relaunch();
    auto third = std::make_shared<test::RecordingObserver>();
    store::PaymentQueue::defaultQueue()->addTransactionObserver(third);
    settle();
    EXPECT_TRUE(third->heard.empty()) << "a finished transaction is not delivered again";
}

TEST_F(PaymentQueue, ObserversThatLeftOrWereRemovedHearNothing)
{
    auto leaving = std::make_shared<test::RecordingObserver>();
    queue->addTransactionObserver(leaving);
    queue->removeTransactionObserver(observer.get());
    queue->addPayment({ product });
    leaving.reset();
    settle();
    EXPECT_TRUE(observer->heard.empty());
}

TEST_F(PaymentQueue, ACorruptQueueFileReadsAsEmpty)
{
    ASSERT_TRUE(base::Files::writeAtomically(store::queuePath(), "not a queue"));
    store::PaymentQueue::relaunch();
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty());
}

} // namespace
