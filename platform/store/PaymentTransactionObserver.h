// store::PaymentTransactionObserver: what the payment queue tells its observers, on the main loop: the
// transactions whose state changed (or, after a launch, those still waiting to be finished) and those that
// were finished. Main thread.
#pragma once

#include "store/PaymentTransaction.h"

#include <memory>
#include <vector>

namespace store {

class PaymentQueue;

using Transactions = std::vector<std::shared_ptr<PaymentTransaction>>;

class PaymentTransactionObserver {
public:
    virtual ~PaymentTransactionObserver() = default;
    virtual void updatedTransactions(PaymentQueue& queue, const Transactions& transactions) = 0;
    virtual void removedTransactions(PaymentQueue&, const Transactions&) { }
};

} // namespace store
