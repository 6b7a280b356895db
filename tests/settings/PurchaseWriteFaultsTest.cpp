// The purchase's receipt upload, started by "buy" on the purchase screen, under every way the service can
// fail, answers held past the time-out included: the receipt stays stored, nothing reads as granted, and the
// upload is sent again until the service grants it.
#include "PurchaseFixture.h"

namespace {

using core::ReceiptUploader;
using tracking_service::Fault;

class PurchaseWriteFaults : public test::PurchaseTest { };

TEST_F(PurchaseWriteFaults, NoFailedUploadReadsAsGrantedOrLosesTheReceipt)
{
    const std::pair<const char*, Fault> faults[] = { { "status 500", Fault::status(500) },
        { "dropped connection", Fault::dropConnection() }, { "not JSON", Fault::nonJsonBody() },
        { "no payload", Fault::noPayload() }, { "null payload", Fault::nullPayload() }, { "refusal", Fault::refusal() },
        { "another number", Fault::payload(base::Value(1)) }, { "answer after the time-out", Fault::held() } };
    auto screen = open();
    answerAlert(1);
    service.faults().set(ReceiptUploader::Method, faults[0].second);
    tap(screen->buyButton());
    // Each retry waits twice as long as the one before, up to the limit.
    const double retryWithin = ReceiptUploader::retryDelayLimit.count() + 1;
    for (const auto& [kind, fault] : faults) {
        SCOPED_TRACE(kind);
        if (fault.kind == Fault::Kind::Delay)
            net::URLRequest::setDefaultTimeoutInterval(ShortTimeOut);
        service.faults().set(ReceiptUploader::Method, fault);
        size_t sent = requestsTo(ReceiptUploader::Method);
        ASSERT_TRUE(
            pumpUntil([&] { return requestsTo(ReceiptUploader::Method) > sent && networkIdle(); }, retryWithin));
        EXPECT_FALSE(someAlertSays("buy_success"));
        EXPECT_TRUE(receiptWaits());
    }
    service.faults().clear();
    net::URLRequest::setDefaultTimeoutInterval(RequestTimeOut);
    EXPECT_TRUE(pumpUntil([] { return alertSays("buy_success"); }, retryWithin));
    EXPECT_FALSE(receiptWaits());
}

} // namespace
