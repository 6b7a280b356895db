// store::StoreScript: what the store stand-in does, read from "<data root>/store/script.strings" (a strings
// table; tests and the tour write it) each time the store needs it:
//
//   "payments" = "refused";                // "allowed" (default) or "refused": canMakePayments
//   "products" = "a.b.Permanent a.b.Other"; // the identifiers the store knows, separated by blanks
//   "productsRequest" = "fails";           // "answers" (default) or "fails": every products request fails
//   "outcomes" = "failed purchased";       // each payment's outcome in turn, the last one repeating:
//                                          // purchased, failed, restored or unfinished (stays purchasing)
//   "delay" = "1.5";                       // seconds on the main loop before a payment's outcome (default 0)
//
// Without a script (or a key): payments allowed, the one product of the bundle identifier followed by
// ".Permanent", purchases succeed at once. Unknown words read as the default. Any thread.
//
//   auto script = store::StoreScript::read();
//   if (!script.paymentsAllowed) return;
#pragma once

#include "base/time/Clock.h"
#include "store/PaymentTransaction.h"

#include <optional>
#include <string>
#include <vector>

namespace store {

struct StoreScript {
    // A payment's outcome; nothing: it stays purchasing.
    using Outcome = std::optional<PaymentTransaction::State>;

    bool paymentsAllowed { true };
    std::vector<std::string> products;
    bool productsRequestFails { false };
    std::vector<Outcome> outcomes;
    base::Duration delay { 0 };

    // The outcome of the payment with that number (0 for the first of this run).
    Outcome outcomeOfPayment(size_t number) const;

    static StoreScript read();
    // The one product of a store without a script.
    static std::string defaultProduct();
};

} // namespace store
