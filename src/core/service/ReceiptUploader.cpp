#include "core/service/ReceiptUploader.h"

#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "core/helpers/Helper.h"
#include "core/state/NotificationNames.h"
#include "core/service/ReplyFields.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/service/StoreLookup.h"
#include "core/service/WebCall.h"

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
        [weak = weak_from_this(), receipt](const std::string& reply) {
            if (auto self = weak.lock())
                self->replied(receipt, isGranted(reply));
        },
        [weak = weak_from_this(), receipt](const base::Error& error) {
            base::log("receipt upload failed: " + error.description());
            if (auto self = weak.lock())
                self->replied(receipt, false);
        });
}

void ReceiptUploader::replied(const std::string& sentReceipt, bool granted)
{
    m_inFlight = false;
    if (!granted) {
        scheduleRetry();
        return;
    }
    if (storedReceipt() != sentReceipt) {
        // Another purchase was stored while this one was on its way: it waits for its own grant.
        uploadStoredReceipt();
        return;
    }
    Helper::saveSettingValue(base::Value(""), SettingsKeys::Receipt);
    Helper::saveSettingValue(std::nullopt, ReceiptSerialKey);
    if (auto listener = m_listener.lock())
        listener->receiptGranted();
}

void ReceiptUploader::scheduleRetry()
{
    if (m_retryPending || !storedReceipt())
        return;
    m_retryPending = true;
    base::RunLoop::main().performAfter(
        retryDelay,
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
