// A waiting receipt is sent without any purchase screen, after an accepted sign-in; the launch's post of it
// looks the published version up ahead, and sends nothing while nobody is signed in.
#include "PurchaseFixture.h"

namespace {

using core::ReceiptUploader;

class PurchaseLaunch : public test::PurchaseTest { };

TEST_F(PurchaseLaunch, TheLaunchPostLooksTheVersionUpAndTheReceiptWaitsForASignIn)
{
    keep(genuineReceipt(), watch);
    launch();
    EXPECT_TRUE(pumpUntil([&] { return requestsTo("lookup") == 1 && networkIdle(); }, 1.5))
        << "the feature screens registered before the launch posted uploadReceipt";
    pass(1.5);
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u) << "nobody is signed in to send it for";
    EXPECT_FALSE(ReceiptUploader::shared()->hasPendingRetry());
    fill(account, password);
    signIn();
    ASSERT_TRUE(pumpUntil([] { return !receiptWaits(); }, 1));
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 1u);
}

TEST_F(PurchaseLaunch, AnAcceptedSignInSendsAWaitingReceiptWithItsSession)
{
    launch();
    pass(0.5);
    keep(genuineReceipt(), watch);
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u);
    fill(account, password);
    signIn();
    ASSERT_TRUE(pumpUntil([] { return !receiptWaits(); }, 1));
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 1u);
}

} // namespace
