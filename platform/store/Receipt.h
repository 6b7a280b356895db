// store::Receipt: the purchase receipt of this machine, the file at receiptURL(): a first line that marks it
// as made by this store, then one line per purchase ("<transaction identifier> <product identifier>").
// The payment queue adds a line for each purchase; whoever checks a receipt asks isMadeByLocalStore. Any
// thread (the queue writes it on the main thread).
//
//   bool genuine = store::Receipt::isMadeByLocalStore(bytes);
#pragma once

#include "store/PaymentTransaction.h"

#include <string>
#include <string_view>

namespace store {

class Receipt {
public:
    static constexpr std::string_view Marker = "LUMET LOCAL STORE RECEIPT 1\n";

    // Adds the purchase to the receipt file (made when missing), atomically; whether it was written.
    [[nodiscard]] static bool record(const PaymentTransaction& transaction);
    // Whether the bytes are a receipt of this store with at least one purchase.
    static bool isMadeByLocalStore(std::string_view bytes);
};

} // namespace store
