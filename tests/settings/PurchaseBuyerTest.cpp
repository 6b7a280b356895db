// A payment belongs to the account that made it and to the device it was made for, whoever's screen the store
// reports its outcome to, in this launch or after a new one: its receipt goes only in a sign-in of the buyer.
#include "PurchaseFixture.h"

#include "json/JSONDecoder.h"

namespace {

using core::ReceiptUploader;

class PurchaseBuyer : public test::PurchaseTest {
protected:
    // The first parent taps "buy" and signs out before the store answers; a second parent signs in.
    void buyAndSignOutBeforeTheStoreAnswers()
    {
        script("\"delay\" = \"30\";");
        auto screen = open();
        answerAlert(1);
        tap(screen->buyButton());
        ASSERT_TRUE(pumpUntil([] { return !store::PaymentQueue::defaultQueue()->transactions().empty(); }));
        signInAsOtherAccount();
    }
    // The second parent's screen has heard the store's answer; the first parent then signs in again.
    void expectTheReceiptToGoOnlyInTheBuyersSignIn()
    {
        EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty()) << "finished: the receipt is kept";
        EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u) << "nothing in the second parent's session";
        EXPECT_FALSE(someAlertSays("buy_success"));
        EXPECT_TRUE(receiptWaits());

        signOut();
        fill(account, password);
        signIn();
        ASSERT_TRUE(pumpUntil([&] { return requestsTo(ReceiptUploader::Method) == 1 && networkIdle(); }));
        auto upload = service.requestLog().requestsTo(ReceiptUploader::Method).back();
        auto body = json::objectFromJSONString(upload.body);
        ASSERT_TRUE(body && body->dictionary());
        EXPECT_EQ(*body->dictionary()->objectForKey("SerialNumber"), base::Value(watch)) << "the buyer's device";
        EXPECT_EQ(upload.header("Cookie"), setting(core::SettingsKeys::Cookie));
        EXPECT_EQ(sessionAccount(), account);
        EXPECT_FALSE(receiptWaits()) << "granted";
    }
};

TEST_F(PurchaseBuyer, AnAnswerOnAnotherAccountsScreenIsCreditedToTheBuyer)
{
    buyAndSignOutBeforeTheStoreAnswers();
    push();
    answerAlert(1);
    ASSERT_TRUE(pumpUntil([] { return store::PaymentQueue::defaultQueue()->transactions().empty(); }, 40));
    pass(1);
    expectTheReceiptToGoOnlyInTheBuyersSignIn();
}

TEST_F(PurchaseBuyer, AnAnswerDeliveredAfterANewLaunchIsCreditedToTheBuyer)
{
    buyAndSignOutBeforeTheStoreAnswers();
    pass(31); // purchased while no screen listens: the store keeps it for the next launch
    ASSERT_EQ(store::PaymentQueue::defaultQueue()->transactions().size(), 1u);
    store::PaymentQueue::relaunch();
    push();
    answerAlert(1);
    ASSERT_TRUE(pumpUntil([] { return store::PaymentQueue::defaultQueue()->transactions().empty(); }));
    pass(1);
    expectTheReceiptToGoOnlyInTheBuyersSignIn();
}

} // namespace
