// store::PaymentQueue: the queue of payments of the store stand-in. addPayment starts a transaction in the
// purchasing state; after the script's delay it becomes purchased (a line is added to the receipt), failed
// or restored, or it stays purchasing (StoreScript). Observers (kept weakly) hear each change on a later turn
// of the main loop. A transaction with an outcome stays in the queue until finishTransaction: such
// transactions are kept in "<data root>/store/queue" (written atomically) and, after the next launch, are
// delivered again to the first observer added. Main thread.
//
//   auto queue = store::PaymentQueue::defaultQueue();
//   queue->addTransactionObserver(weak_from_this());
//   if (store::PaymentQueue::canMakePayments()) queue->addPayment(store::Payment { identifier });
#pragma once

#include "store/Payment.h"
#include "store/PaymentTransactionObserver.h"

#include <memory>
#include <vector>

namespace store {

class PaymentQueue : public std::enable_shared_from_this<PaymentQueue> {
public:
    static std::shared_ptr<PaymentQueue> defaultQueue();
    // Forgets the default queue in memory as the end of the process would: the next defaultQueue() reads the
    // kept transactions again, as after a new launch. For tests and the tour.
    static void relaunch();
    static bool canMakePayments();

    void addTransactionObserver(std::weak_ptr<PaymentTransactionObserver> observer);
    // Also drops observers that have gone.
    void removeTransactionObserver(const PaymentTransactionObserver* observer);

    // The new transaction, purchasing, whose identifier the caller may note before any outcome comes.
    std::shared_ptr<PaymentTransaction> addPayment(const Payment& payment);
    // Removes a transaction with an outcome from the queue; a purchasing one cannot be finished.
    void finishTransaction(const std::shared_ptr<PaymentTransaction>& transaction);

    const Transactions& transactions() const { return m_transactions; }

    ~PaymentQueue();

private:
    PaymentQueue();
    void decide(const std::shared_ptr<PaymentTransaction>& transaction);
    void announce(Transactions transactions, bool removed, std::weak_ptr<PaymentTransactionObserver> only = {});
    void save() const;
    void load();

    std::vector<std::weak_ptr<PaymentTransactionObserver>> m_observers;
    Transactions m_transactions;
    Transactions m_keptFromLastLaunch;
    size_t m_paymentsMade { 0 };
};

} // namespace store
