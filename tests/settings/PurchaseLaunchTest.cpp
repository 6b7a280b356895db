// A waiting receipt is sent without any purchase screen: at launch, and again after an accepted sign-in.
#include "PurchaseFixture.h"

#include "core/state/SettingsKeys.h"

namespace {

using core::ReceiptUploader;

class PurchaseLaunch : public test::PurchaseTest { };

TEST_F(PurchaseLaunch, TheLaunchPostIsAnsweredByTheUploaderBeforeAnySession)
{
    ReceiptUploader::storeReceipt(genuineReceipt(), watch);
    launch();
    EXPECT_TRUE(pumpUntil(
        [&] { return requestsTo(ReceiptUploader::Method) == 1 && ReceiptUploader::shared()->hasPendingRetry(); }, 1.5))
        << "the feature screens registered before the launch posted uploadReceipt, and no session: a retry waits";
    EXPECT_EQ(setting(core::SettingsKeys::Receipt), genuineReceipt()) << "not granted";
}

TEST_F(PurchaseLaunch, AnAcceptedSignInSendsAWaitingReceiptWithItsSession)
{
    launch();
    pass(0.5);
    ReceiptUploader::storeReceipt(genuineReceipt(), watch);
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u);
    fill(account, password);
    signIn();
    ASSERT_TRUE(pumpUntil([] { return setting(core::SettingsKeys::Receipt) == ""; }, 1));
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 1u);
}

} // namespace
