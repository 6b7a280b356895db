#include "core/service/ReceiptUploader.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/values/Dictionary.h"
#include "core/service/ReplyFields.h"
#include "core/service/StoreLookup.h"
#include "core/service/WebCall.h"
#include "core/state/NotificationNames.h"
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

    // The device the receipt was bought for; an earlier version's receipt stored without one goes for the
    // current device.
    std::string serialFor(const Purchase& purchase)
    {
        return purchase.serialNumber.empty() ? Singleton::shared().lastSerialnumber() : purchase.serialNumber;
    }

    std::optional<Purchase> receiptForCurrentSignIn()
    {
        auto signIn = SignInSession::current();
        return signIn.isOpen() ? Purchases::nextReceiptFor(signIn.account) : std::nullopt;
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

bool ReceiptUploader::receiptWaitsForCurrentSignIn()
{
    BASE_ASSERT_MAIN_THREAD();
    return receiptForCurrentSignIn().has_value();
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
            self->sendWhenLookedUp();
    });
}

void ReceiptUploader::uploadStoredReceipt()
{
    BASE_ASSERT_MAIN_THREAD();
    // Someone waits for this answer now (the screen, the buyer just signed in): no back-off stands in the way.
    m_nextRetryDelay = retryDelay;
    if (std::exchange(m_retryPending, false))
        base::RunLoop::main().cancelPerforms(this);
    sendWhenLookedUp();
}

void ReceiptUploader::sendWhenLookedUp()
{
    // The request in flight is answered first; a refusal of it is retried.
    if (m_inFlight || m_retryPending || !Purchases::anyReceiptWaits())
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
    auto signIn = SignInSession::current();
    auto purchase = receiptForCurrentSignIn();
    if (!purchase)
        return; // the buyer's next accepted sign-in posts "uploadReceipt" again
    base::trace("store", std::string("uploading the receipt, IsDebug ") + (*m_isDebug ? "true" : "false"));
    auto parameters = base::Dictionary::make({
        { "SerialNumber", serialFor(*purchase) },
        { "Money", Money },
        { "OrdId", base::Value::null() },
        { "IsDebug", *m_isDebug },
        { "Data", purchase->receipt },
    });
    m_inFlight = true;
    WebCall::post(
        Method, parameters,
        [weak = weak_from_this(), sent = *purchase, signIn](const std::string& reply) {
            auto self = weak.lock();
            if (!self)
                return;
            bool granted = isGranted(reply);
            if (!granted)
                self->refused(signIn.account, "not granted");
            self->replied(sent, signIn, granted);
        },
        [weak = weak_from_this(), sent = *purchase, signIn](const base::Error& error) {
            auto self = weak.lock();
            if (!self)
                return;
            self->refused(signIn.account, "failed: " + error.description());
            self->replied(sent, signIn, false);
        });
}

void ReceiptUploader::refused(const std::string& account, const std::string& reason)
{
    if (m_refusalsLogged.insert(account).second)
        base::log("receipt upload " + reason + "; it is sent again, less and less often, while it waits");
}

void ReceiptUploader::replied(const Purchase& sent, const SignInSession& signIn, bool granted)
{
    m_inFlight = false;
    if (!granted) {
        scheduleRetry();
        return;
    }
    m_nextRetryDelay = retryDelay;
    Purchases::forget(sent.transaction);
    // The purchase screen open now may be another sign-in's.
    if (auto listener = m_listener.lock(); listener && signIn.isCurrent())
        listener->receiptGranted();
    send(); // the sign-in's next receipt, when one waits
}

// While a listener (the purchase screen) waits, the retry comes after 2.0 s each time; a retry nobody waits on
// backs off, so that a long outage does not keep the service busy.
void ReceiptUploader::scheduleRetry()
{
    if (m_retryPending || !receiptForCurrentSignIn())
        return;
    m_retryPending = true;
    base::Duration delay = m_listener.expired()
        ? std::exchange(m_nextRetryDelay, std::min(m_nextRetryDelay * 2, retryDelayLimit))
        : retryDelay;
    base::RunLoop::main().performAfter(
        delay,
        [weak = weak_from_this()] {
            auto self = weak.lock();
            if (!self)
                return;
            self->m_retryPending = false;
            self->sendWhenLookedUp();
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
