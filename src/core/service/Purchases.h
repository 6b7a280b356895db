// core::Purchases: the payments this machine has added to the store and whose receipts wait for the tracking
// service's grant, each with the account that bought it and the device it was bought for. Both are taken when
// the payment is added and kept in the setting "purchases" (a dictionary keyed by the store's transaction
// identifier), so that whoever's screen the store reports the purchase to, in this launch or a later one, the
// receipt goes in a sign-in of the buyer, for the buyer's device. The receipt an earlier version kept in the
// settings "receipt" (with "receiptSerial" and "receiptAccount" where it wrote them) waits here as well, under
// the empty transaction identifier. Main thread.
//
//   core::Purchases::add(transaction->identifier(), signIn.account, serialNumber);
//   core::Purchases::keepReceipt(transaction->identifier(), base64);
//   if (auto purchase = core::Purchases::nextReceiptFor(signIn.account)) send(*purchase);
#pragma once

#include <optional>
#include <string>

namespace core {

struct Purchase {
    // The store's transaction identifier; empty for the receipt an earlier version kept.
    std::string transaction;
    // The buyer; empty for an earlier version's receipt stored without it, which any account's sign-in sends.
    std::string account;
    // The device it was bought for; empty for an earlier version's receipt stored without it, which goes for
    // the current device.
    std::string serialNumber;
    // The receipt, as one line of Base64; empty until the store has completed the payment.
    std::string receipt;
};

class Purchases {
public:
    static constexpr const char* Key = "purchases";
    static constexpr const char* LegacySerialKey = "receiptSerial";
    static constexpr const char* LegacyAccountKey = "receiptAccount";

    // A payment was added for the account and the device.
    static void add(const std::string& transaction, const std::string& account, const std::string& serialNumber);
    // The store completed the payment with this receipt. A payment added by an earlier version has no record:
    // it is taken as the signed-in account's, for the current device, as that version took it.
    static void keepReceipt(const std::string& transaction, const std::string& receipt);
    // The payment needs nothing more: the store gave it up or restored it, or the service granted its receipt.
    static void forget(const std::string& transaction);

    // A receipt that may go in a sign-in of the account (the earlier version's first), or nothing.
    [[nodiscard]] static std::optional<Purchase> nextReceiptFor(const std::string& account);
    // Whether any receipt waits, whoever bought it.
    [[nodiscard]] static bool anyReceiptWaits();
};

} // namespace core
