#include "core/service/Purchases.h"

#include "base/loop/MainThread.h"
#include "base/values/Dictionary.h"
#include "core/helpers/Helper.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"

namespace core {

namespace {

    constexpr const char* AccountField = "account";
    constexpr const char* SerialField = "serialNumber";
    constexpr const char* ReceiptField = "receipt";

    // A text setting; "" when it is absent, blank or not a text.
    std::string textSetting(std::string_view key)
    {
        auto value = Helper::isNotNullString(Helper::readSettingsByKey(key));
        return value && value->string() ? *value->string() : std::string();
    }

    std::string textField(const base::Dictionary& fields, const char* key)
    {
        const base::Value* value = fields.objectForKey(key);
        return value && value->string() ? *value->string() : std::string();
    }

    std::shared_ptr<base::MutableDictionary> storedRecords()
    {
        auto stored = Helper::readSettingsByKey(Purchases::Key);
        const auto& records = stored ? stored->dictionary() : nullptr;
        return records ? records->mutableCopy() : base::MutableDictionary::make();
    }

    void saveRecords(const base::MutableDictionary& records)
    {
        Helper::saveSettingValue(
            records.count() ? std::optional(base::Value(records.copy())) : std::nullopt, Purchases::Key);
    }

    void saveRecord(const Purchase& purchase)
    {
        auto records = storedRecords();
        records->setObject(base::Dictionary::make({ { AccountField, purchase.account },
                               { SerialField, purchase.serialNumber }, { ReceiptField, purchase.receipt } }),
            purchase.transaction);
        saveRecords(*records);
    }

    Purchase purchaseOf(std::string transaction, const base::Dictionary& fields)
    {
        return { std::move(transaction), textField(fields, AccountField), textField(fields, SerialField),
            textField(fields, ReceiptField) };
    }

    std::optional<Purchase> record(const std::string& transaction)
    {
        auto records = storedRecords();
        const base::Value* value = records->objectForKey(transaction);
        const auto& fields = value ? value->dictionary() : nullptr;
        return fields ? std::optional(purchaseOf(transaction, *fields)) : std::nullopt;
    }

    std::optional<Purchase> legacyReceipt()
    {
        std::string receipt = textSetting(SettingsKeys::Receipt);
        if (receipt.empty())
            return std::nullopt;
        return Purchase { "", textSetting(Purchases::LegacyAccountKey), textSetting(Purchases::LegacySerialKey),
            receipt };
    }

    bool goesInSignInOf(const Purchase& purchase, const std::string& account)
    {
        return !purchase.receipt.empty() && !account.empty()
            && (purchase.account.empty() || purchase.account == account);
    }

    // The first waiting receipt the predicate accepts: the earlier version's, then the records'.
    template <typename Accept> std::optional<Purchase> firstReceipt(Accept accept)
    {
        if (auto legacy = legacyReceipt(); legacy && accept(*legacy))
            return legacy;
        auto records = storedRecords();
        for (const auto& [key, value] : *records) {
            if (!key->string() || !value->dictionary())
                continue;
            Purchase purchase = purchaseOf(*key->string(), *value->dictionary());
            if (!purchase.transaction.empty() && accept(purchase))
                return purchase;
        }
        return std::nullopt;
    }

} // namespace

void Purchases::add(const std::string& transaction, const std::string& account, const std::string& serialNumber)
{
    BASE_ASSERT_MAIN_THREAD();
    saveRecord({ transaction, account, serialNumber, "" });
}

void Purchases::keepReceipt(const std::string& transaction, const std::string& receipt)
{
    BASE_ASSERT_MAIN_THREAD();
    auto purchase = record(transaction)
                        .value_or(Purchase { transaction, SignInSession::current().account,
                            Singleton::shared().lastSerialnumber(), "" });
    purchase.receipt = receipt;
    saveRecord(purchase);
}

void Purchases::forget(const std::string& transaction)
{
    BASE_ASSERT_MAIN_THREAD();
    if (transaction.empty()) {
        Helper::saveSettingValue(base::Value(""), SettingsKeys::Receipt);
        Helper::saveSettingValue(std::nullopt, LegacySerialKey);
        Helper::saveSettingValue(std::nullopt, LegacyAccountKey);
        return;
    }
    auto records = storedRecords();
    if (!records->objectForKey(transaction))
        return;
    records->removeObjectForKey(transaction);
    saveRecords(*records);
}

std::optional<Purchase> Purchases::nextReceiptFor(const std::string& account)
{
    BASE_ASSERT_MAIN_THREAD();
    return firstReceipt([&](const Purchase& purchase) { return goesInSignInOf(purchase, account); });
}

bool Purchases::anyReceiptWaits()
{
    BASE_ASSERT_MAIN_THREAD();
    return firstReceipt([](const Purchase& purchase) { return !purchase.receipt.empty(); }).has_value();
}

} // namespace core
