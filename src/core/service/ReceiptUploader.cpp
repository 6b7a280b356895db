#include "core/service/ReceiptUploader.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/values/Dictionary.h"
#include "core/helpers/Helper.h"
#include "core/service/ReplyFields.h"
#include "core/service/StoreLookup.h"
#include "core/service/WebCall.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

    std::shared_ptr<ReceiptUploader>& sharedUploader()
    {
        static std::shared_ptr<ReceiptUploader> uploader;
        return uploader;
    }

    std::string textSetting(std::string_view key)
    {
        auto value = Helper::isNotNullString(Helper::readSettingsByKey(key));
        return value && value->string() ? *value->string() : std::string();
    }

    // The device the receipt was bought for; a receipt stored without one goes for the current device.
    std::string receiptSerial()
    {
        std::string serial = textSetting(ReceiptUploader::ReceiptSerialKey);
        return serial.empty() ? Singleton::shared().lastSerialnumber() : serial;
    }

    // Whether the sign-in open now may send the stored receipt: one of the account that bought it, or any for a
    // receipt stored without its account.
    bool signedInForReceipt()
    {
        auto signIn = SignInSession::current();
        std::string buyer = textSetting(ReceiptUploader::ReceiptAccountKey);
        return buyer.empty() ? signIn.isOpen() : signIn.isOpenFor(buyer);
    }

} // namespace

std::shared_ptr<ReceiptUploader> ReceiptUploader::shared()
{
    BASE_ASSERT_MAIN_THREAD();
    auto& uploader = sharedUploader();
    if (!uploader)
        uploader.reset(new ReceiptUploader());
    return uploader;
}

void ReceiptUploader::relaunch() { sharedUploader().reset(); }

ReceiptUploader::~ReceiptUploader()
{
    base::RunLoop::main().cancelPerforms(this);
    base::NotificationCenter::defaultCenter().removeObservers(this);
}

void ReceiptUploader::start()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_observer)
        return;
    m_observer = base::NotificationCenter::defaultCenter().addObserver(
        NotificationNames::UploadReceipt, nullptr,
        [weak = weak_from_this()](const base::Notification&) {
            if (auto self = weak.lock())
                self->uploadStoredReceipt();
        },
        this);
}

void ReceiptUploader::storeReceipt(const std::string& receipt, const std::string& serialNumber)
{
    BASE_ASSERT_MAIN_THREAD();
    Helper::saveSettingValue(base::Value(serialNumber), ReceiptSerialKey);
    std::string account = SignInSession::current().account;
    Helper::saveSettingValue(account.empty() ? std::nullopt : std::optional(base::Value(account)), ReceiptAccountKey);
    Helper::saveSettingValue(base::Value(receipt), SettingsKeys::Receipt);
}

std::optional<std::string> ReceiptUploader::storedReceipt()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string receipt = textSetting(SettingsKeys::Receipt);
    return receipt.empty() ? std::nullopt : std::optional(receipt);
}

void ReceiptUploader::lookUpVersion()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_lookingUp)
        return;
    m_lookingUp = true;
    StoreLookup::start([weak = weak_from_this()](bool isDebug) {
        auto self = weak.lock();
        if (!self)
            return;
        self->m_isDebug = isDebug;
        self->m_lookingUp = false;
        if (std::exchange(self->m_waitingForLookup, false))
            self->uploadStoredReceipt();
    });
}

void ReceiptUploader::uploadStoredReceipt()
{
    BASE_ASSERT_MAIN_THREAD();
    // The request in flight or the pending retry sends whatever is stored by then: no second chain.
    if (m_inFlight || m_retryPending || !storedReceipt())
        return;
    if (m_lookingUp || !m_isDebug) {
        m_waitingForLookup = true;
        lookUpVersion();
        return;
    }
    if (!signedInForReceipt())
        return; // the next accepted sign-in posts "uploadReceipt" again
    send();
}

void ReceiptUploader::send()
{
    std::string receipt = storedReceipt().value_or("");
    base::trace("store", std::string("uploading the receipt, IsDebug ") + (*m_isDebug ? "true" : "false"));
    auto parameters = base::Dictionary::make({
        { "SerialNumber", receiptSerial() },
        { "Money", Money },
        { "OrdId", base::Value::null() },
        { "IsDebug", *m_isDebug },
        { "Data", receipt },
    });
    m_inFlight = true;
    WebCall::post(
        Method, parameters,
        [weak = weak_from_this(), receipt, signIn = SignInSession::current()](const std::string& reply) {
            auto self = weak.lock();
            if (!self)
                return;
            bool granted = isGranted(reply);
            if (!granted)
                self->refused(signIn.account, "not granted");
            self->replied(receipt, signIn, granted);
        },
        [weak = weak_from_this(), receipt, signIn = SignInSession::current()](const base::Error& error) {
            auto self = weak.lock();
            if (!self)
                return;
            self->refused(signIn.account, "failed: " + error.description());
            self->replied(receipt, signIn, false);
        });
}

void ReceiptUploader::refused(const std::string& account, const std::string& reason)
{
    if (m_refusalsLogged.insert(account).second)
        base::log("receipt upload " + reason + "; it is sent again, less and less often, while it waits");
}

void ReceiptUploader::replied(const std::string& sentReceipt, const SignInSession& signIn, bool granted)
{
    m_inFlight = false;
    if (!granted) {
        scheduleRetry();
        return;
    }
    m_nextRetryDelay = retryDelay;
    if (storedReceipt() != sentReceipt) {
        // Another purchase was stored while this one was on its way: it waits for its own grant.
        uploadStoredReceipt();
        return;
    }
    Helper::saveSettingValue(base::Value(""), SettingsKeys::Receipt);
    Helper::saveSettingValue(std::nullopt, ReceiptSerialKey);
    Helper::saveSettingValue(std::nullopt, ReceiptAccountKey);
    // The purchase screen open now may be another sign-in's.
    if (auto listener = m_listener.lock(); listener && signIn.isCurrent())
        listener->receiptGranted();
}

void ReceiptUploader::scheduleRetry()
{
    if (m_retryPending || !storedReceipt())
        return;
    m_retryPending = true;
    base::Duration delay = std::exchange(m_nextRetryDelay, std::min(m_nextRetryDelay * 2, retryDelayLimit));
    base::RunLoop::main().performAfter(
        delay,
        [weak = weak_from_this()] {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_retryPending = false;
            self->uploadStoredReceipt();
        },
        this);
}

bool ReceiptUploader::isGranted(std::string_view reply)
{
    BASE_ASSERT_MAIN_THREAD();
    auto payload = ReplyFields::payload(reply);
    if (!payload)
        return false;
    if (const auto* number = payload->integer())
        return *number == 0;
    if (const auto* number = payload->unsignedInteger())
        return *number == 0;
    if (const auto* number = payload->real())
        return *number == 0;
    if (const auto* text = payload->string())
        return *text == "0";
    return false;
}

} // namespace core
