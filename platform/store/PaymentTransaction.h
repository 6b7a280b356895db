// store::PaymentTransaction: one payment on its way through the payment queue. The queue changes its state
// and tells its observers; an observer reads it and finishes it once its outcome is dealt with. Main thread.
//
//   if (transaction->state() == store::PaymentTransaction::State::Purchased) deliver(*transaction);
//   queue->finishTransaction(transaction);
#pragma once

#include "store/Payment.h"

#include <string>

namespace store {

class PaymentTransaction {
public:
    enum class State { Purchasing = 0, Purchased = 1, Failed = 2, Restored = 3 };

    PaymentTransaction(std::string identifier, Payment payment, State state)
        : m_identifier(std::move(identifier))
        , m_payment(std::move(payment))
        , m_state(state)
    {
    }

    const std::string& identifier() const { return m_identifier; }
    const Payment& payment() const { return m_payment; }
    State state() const { return m_state; }
    void setState(State state) { m_state = state; }

private:
    std::string m_identifier;
    Payment m_payment;
    State m_state;
};

} // namespace store
