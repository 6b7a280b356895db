// core::ReceiptUploader: the one sender of the waiting purchase receipts (Purchases) to the tracking service.
// It answers the notification "uploadReceipt" (posted at launch and after an accepted sign-in when a receipt
// waits) and the purchase screen's requests, and sends "Apple_Device_Pay" with a receipt for the device it was
// bought for. A receipt goes only in a sign-in (SignInSession) of the account that bought it: signed out, or in
// another account's sign-in, it waits for the buyer's next sign-in, whose acceptance posts "uploadReceipt". The
// service grants with the payload 0 (the number, or exactly the text "0"): the receipt is then forgotten, the
// listener hears of it when the upload's sign-in is still the current one, and the next receipt of the sign-in
// goes. Any other reply, and a failure, keeps the receipt and sends it again later: 2.0 s after each while a
// listener (the purchase screen) waits, else 2.0 s after the first and twice as long after each next one, at
// most retryDelayLimit; the log says so once for each account. A request (uploadStoredReceipt: the screen's,
// the sign-in's, a purchase's) sends at once and starts the delays again from 2.0 s. One request is in flight
// at a time and one retry at most is pending. Each upload carries whether the application's published version
// is the store-test one (StoreLookup); an upload waits for a lookup under way, and the first upload of a launch
// starts one. Main thread.
//
//   core::ReceiptUploader::shared()->start();        // at launch, before "uploadReceipt" is posted
//   core::Purchases::keepReceipt(transaction, base64);
//   core::ReceiptUploader::shared()->uploadStoredReceipt();
#pragma once

#include "base/loop/NotificationCenter.h"
#include "base/time/Clock.h"
#include "core/service/Purchases.h"
#include "core/state/SignInSession.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace core {

class ReceiptUploaderListener {
public:
    virtual ~ReceiptUploaderListener() = default;
    virtual void receiptGranted() = 0;
};

class ReceiptUploader : public std::enable_shared_from_this<ReceiptUploader> {
public:
    static constexpr base::Duration retryDelay { 2.0 };
    static constexpr base::Duration retryDelayLimit { 256.0 };
    static constexpr const char* Method = "Apple_Device_Pay";
    static constexpr int64_t Money = 60;

    static std::shared_ptr<ReceiptUploader> shared();
    // Forgets the shared uploader as the end of the process would (its pending work ends with it). For tests.
    static void relaunch();

    // Begins answering "uploadReceipt"; again does nothing.
    void start();
    // Whether a receipt waits for the grant that may go in the current sign-in.
    [[nodiscard]] static bool receiptWaitsForCurrentSignIn();

    // Asks for the published version again; uploads wait for the answer (or the lookup's time-out).
    void lookUpVersion();
    // Sends a receipt of the signed-in account now (after a lookup under way), in place of a pending retry;
    // while a request is in flight, its refusal is retried after 2.0 s. The delays start again from 2.0 s.
    void uploadStoredReceipt();
    void setListener(std::weak_ptr<ReceiptUploaderListener> listener) { m_listener = std::move(listener); }

    std::optional<bool> isDebug() const { return m_isDebug; }
    bool isUploading() const { return m_inFlight; }
    bool hasPendingRetry() const { return m_retryPending; }

    // Whether a reply text of "Apple_Device_Pay" grants the service.
    static bool isGranted(std::string_view reply);

    ~ReceiptUploader();

private:
    ReceiptUploader() = default;
    void sendWhenLookedUp();
    void send();
    void replied(const Purchase& sent, const SignInSession& signIn, bool granted);
    void refused(const std::string& account, const std::string& reason);
    void scheduleRetry();

    std::optional<base::NotificationCenter::ObserverToken> m_observer;
    std::weak_ptr<ReceiptUploaderListener> m_listener;
    std::optional<bool> m_isDebug;
    bool m_lookingUp { false };
    bool m_waitingForLookup { false };
    bool m_inFlight { false };
    bool m_retryPending { false };
    base::Duration m_nextRetryDelay { retryDelay };
    // The accounts whose uploads the log has said are not granted.
    std::set<std::string> m_refusalsLogged;
};

} // namespace core
