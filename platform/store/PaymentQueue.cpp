#include "store/PaymentQueue.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/DefaultsFile.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/text/UUID.h"
#include "base/values/Array.h"
#include "store/Receipt.h"
#include "store/StorePaths.h"
#include "store/StoreScript.h"

#include <algorithm>

namespace store {

namespace {

    std::shared_ptr<PaymentQueue>& sharedQueue()
    {
        static std::shared_ptr<PaymentQueue> queue;
        return queue;
    }

    constexpr const char* TransactionsKey = "transactions";
    constexpr const char* IdentifierKey = "identifier";
    constexpr const char* ProductKey = "product";
    constexpr const char* StateKey = "state";

    base::Value recordOf(const PaymentTransaction& transaction)
    {
        return base::Dictionary::make(
            { { IdentifierKey, transaction.identifier() }, { ProductKey, transaction.payment().productIdentifier },
                { StateKey, static_cast<int64_t>(transaction.state()) } });
    }

    std::shared_ptr<PaymentTransaction> transactionOf(const base::Value& record)
    {
        const auto& fields = record.dictionary();
        if (!fields)
            return nullptr;
        const base::Value* identifier = fields->objectForKey(IdentifierKey);
        const base::Value* product = fields->objectForKey(ProductKey);
        const base::Value* state = fields->objectForKey(StateKey);
        if (!identifier || !identifier->string() || !product || !product->string() || !state || !state->integer())
            return nullptr;
        int64_t number = *state->integer();
        if (number < 1 || number > 3)
            return nullptr;
        return std::make_shared<PaymentTransaction>(
            *identifier->string(), Payment { *product->string() }, static_cast<PaymentTransaction::State>(number));
    }

} // namespace

std::shared_ptr<PaymentQueue> PaymentQueue::defaultQueue()
{
    BASE_ASSERT_MAIN_THREAD();
    auto& queue = sharedQueue();
    if (!queue) {
        queue.reset(new PaymentQueue());
        queue->load();
    }
    return queue;
}

void PaymentQueue::relaunch() { sharedQueue().reset(); }

bool PaymentQueue::canMakePayments() { return StoreScript::read().paymentsAllowed; }

PaymentQueue::PaymentQueue() = default;

PaymentQueue::~PaymentQueue() { base::RunLoop::main().cancelPerforms(this); }

void PaymentQueue::addTransactionObserver(std::weak_ptr<PaymentTransactionObserver> observer)
{
    BASE_ASSERT_MAIN_THREAD();
    m_observers.push_back(observer);
    if (m_keptFromLastLaunch.empty())
        return;
    announce(std::move(m_keptFromLastLaunch), false, observer);
    m_keptFromLastLaunch.clear();
}

void PaymentQueue::removeTransactionObserver(const PaymentTransactionObserver* observer)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_observers, [observer](const auto& weak) {
        auto held = weak.lock();
        return !held || held.get() == observer;
    });
}

std::shared_ptr<PaymentTransaction> PaymentQueue::addPayment(const Payment& payment)
{
    BASE_ASSERT_MAIN_THREAD();
    auto transaction
        = std::make_shared<PaymentTransaction>(base::makeUUID(), payment, PaymentTransaction::State::Purchasing);
    m_transactions.push_back(transaction);
    announce({ transaction }, false);
    auto script = StoreScript::read();
    auto outcome = script.outcomeOfPayment(m_paymentsMade++);
    if (!outcome)
        return transaction;
    base::RunLoop::main().performAfter(
        script.delay,
        [weak = weak_from_this(), transaction, state = *outcome] {
            auto self = weak.lock();
            if (!self)
                return;
            transaction->setState(state);
            self->decide(transaction);
        },
        this);
    return transaction;
}

void PaymentQueue::decide(const std::shared_ptr<PaymentTransaction>& transaction)
{
    if (transaction->state() == PaymentTransaction::State::Purchased && !Receipt::record(*transaction)) {
        base::log("store: cannot write the receipt; the payment fails");
        transaction->setState(PaymentTransaction::State::Failed);
    }
    save();
    announce({ transaction }, false);
}

void PaymentQueue::finishTransaction(const std::shared_ptr<PaymentTransaction>& transaction)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!transaction || transaction->state() == PaymentTransaction::State::Purchasing)
        return;
    auto found = std::find(m_transactions.begin(), m_transactions.end(), transaction);
    if (found == m_transactions.end())
        return;
    m_transactions.erase(found);
    std::erase(m_keptFromLastLaunch, transaction);
    save();
    announce({ transaction }, true);
}

void PaymentQueue::announce(Transactions transactions, bool removed, std::weak_ptr<PaymentTransactionObserver> only)
{
    bool toOne = !only.expired();
    base::RunLoop::main().performAfter(
        base::Duration(0),
        [weak = weak_from_this(), transactions = std::move(transactions), removed, only, toOne] {
            auto self = weak.lock();
            if (!self)
                return;
            auto observers = toOne ? std::vector { only } : self->m_observers;
            for (const auto& entry : observers) {
                auto observer = entry.lock();
                if (!observer)
                    continue;
                if (removed)
                    observer->removedTransactions(*self, transactions);
                else
                    observer->updatedTransactions(*self, transactions);
            }
        },
        this);
}

void PaymentQueue::save() const
{
    std::vector<base::Value> records;
    for (const auto& transaction : m_transactions)
        if (transaction->state() != PaymentTransaction::State::Purchasing)
            records.push_back(recordOf(*transaction));
    auto file = base::Dictionary::make({ { TransactionsKey, base::Array::make(std::move(records)) } });
    if (!base::Files::writeAtomically(queuePath(), base::DefaultsFile::write(*file), 0600))
        base::log("store: cannot keep the payment queue");
}

void PaymentQueue::load()
{
    auto bytes = base::Files::read(queuePath());
    auto file = bytes ? base::DefaultsFile::read(*bytes) : nullptr;
    const base::Value* records = file ? file->objectForKey(TransactionsKey) : nullptr;
    if (!records || !records->array())
        return;
    for (const auto& record : *records->array())
        if (auto transaction = transactionOf(record))
            m_transactions.push_back(transaction);
    m_keptFromLastLaunch = m_transactions;
}

} // namespace store
