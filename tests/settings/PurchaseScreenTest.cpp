// The purchase screen end to end on the local store and the local tracking service: the notice or the upload
// at opening, the row it draws, a scripted purchase and its receipt, and the store's other answers.
#include "PurchaseFixture.h"

#include "base/system/Bundle.h"

namespace {

using core::ReceiptUploader;

class Purchase : public test::PurchaseTest { };

TEST_F(Purchase, WithoutAReceiptTheNoticeShowsAndDisagreeLeavesTheScreen)
{
    auto screen = open();
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), base::localized("know_before_buy"));
    EXPECT_EQ(alert->message(), base::localized("buy_know"));
    EXPECT_EQ(alert->buttonTitleAtIndex(0), base::localized("disagree"));
    EXPECT_EQ(alert->buttonTitleAtIndex(1), base::localized("agree"));
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u);

    answerAlert(0);
    EXPECT_TRUE(pumpUntil([&] { return !screenShown(screen); }));
}

TEST_F(Purchase, ReturnAnswersTheNoticeAsTheEmphasisedDisagreeDoes)
{
    auto screen = open();
    EXPECT_TRUE(test::returnAnswersTheEmphasisedButton([this] { pressReturn(); }));
    EXPECT_TRUE(pumpUntil([&] { return !screenShown(screen); }));
}

TEST_F(Purchase, AgreeStaysOnTheRowWithItsBuyButton)
{
    auto screen = open();
    answerAlert(1);
    ASSERT_TRUE(screenShown(screen));
    auto button = screen->buyButton();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->frame().size, (gfx::Size { 80, screen->tableView()->rowHeight() - 10 }));
    EXPECT_TRUE(test::ScreenProbe::near(
        colourAt(button, { 6, button->bounds().height() / 2 }), gfx::Color::rgb(245 / 255.0, 150 / 255.0, 30 / 255.0)))
        << "the button shows its background image";
    auto row = test::ScreenProbe::toScreen(*button->superview()->superview(), { 0, 0, 200, 44 });
    EXPECT_TRUE(textInRegion(base::localized("permanent"), row));
    EXPECT_TRUE(textInRegion(base::localized("buy"), test::ScreenProbe::toScreen(*button, button->bounds())));
}

TEST_F(Purchase, AStoredReceiptIsSentAtOpeningAndItsGrantShowsSuccessWhoseDonePops)
{
    launchAndSignIn();
    keep(genuineReceipt(), watch);
    auto screen = push();
    ASSERT_TRUE(pumpUntil([] { return alertSays("buy_success"); }));
    EXPECT_EQ(shownAlert()->tag(), settings::PurchaseVC::successAlertTag);
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 1u);
    EXPECT_FALSE(receiptWaits());

    answerAlert(0);
    EXPECT_TRUE(pumpUntil([&] { return !screenShown(screen); }));
}

TEST_F(Purchase, AScriptedPurchaseStoresTheReceiptWithItsSerialFinishesAndUploadsUntilGranted)
{
    service.faults().set(ReceiptUploader::Method, tracking_service::Fault::refusal());
    auto screen = open();
    answerAlert(1);
    std::string serial = core::Singleton::shared().lastSerialnumber();
    ASSERT_FALSE(serial.empty());

    tap(screen->buyButton());
    ASSERT_TRUE(pumpUntil([&] { return requestsTo(ReceiptUploader::Method) == 1 && networkIdle(); }));
    auto file = base::Files::read(store::receiptURL());
    ASSERT_TRUE(file);
    auto kept = core::Purchases::nextReceiptFor(account);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->receipt, networking::Base64::encode(*file));
    EXPECT_EQ(kept->serialNumber, serial);
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty()) << "finished once the receipt was kept";
    EXPECT_FALSE(shownAlert());

    service.faults().clear();
    ASSERT_TRUE(pumpUntil([] { return alertSays("buy_success"); }, 3));
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 2u) << "one retry, 2.0 s later";
    EXPECT_FALSE(receiptWaits());
}

TEST_F(Purchase, FailedAndRestoredTransactionsFinishSilentlyWithoutUpload)
{
    script("\"outcomes\" = \"restored failed\";");
    auto screen = open();
    answerAlert(1);
    tap(screen->buyButton());
    pass(1);
    tap(screen->buyButton());
    pass(3);
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty());
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u);
    EXPECT_FALSE(receiptWaits());
    EXPECT_FALSE(base::UserDefaults::standard().objectForKey(core::Purchases::Key))
        << "nothing is kept of payments the store gave up";
    EXPECT_FALSE(shownAlert());
}

TEST_F(Purchase, NoProductOrAFailedRequestShowsBuyFailedAndPaysNothing)
{
    auto screen = open();
    answerAlert(1);
    for (const char* text : { "\"products\" = \"other.product\";", "\"productsRequest\" = \"fails\";" }) {
        script(text);
        tap(screen->buyButton());
        ASSERT_TRUE(pumpUntil([] { return alertSays("buy_failed"); }, 2)) << text;
        EXPECT_EQ(takeAlertMessage(), base::localized("buy_failed"));
        pass(1);
    }
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty());
    EXPECT_FALSE(base::Files::read(store::receiptURL()));
}

TEST_F(Purchase, PaymentsNotAllowedShowNothing)
{
    script("\"payments\" = \"refused\";");
    auto screen = open();
    answerAlert(1);
    tap(screen->buyButton());
    pass(1);
    EXPECT_FALSE(shownAlert());
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty());
}

// A purchase whose receipt cannot be read stays unfinished, and the store delivers it again at a later launch.
TEST_F(Purchase, APurchaseWithoutReceiptStaysUnfinishedUntilALaterLaunchCanKeepIt)
{
    store::PaymentQueue::defaultQueue()->addPayment({ settings::PurchaseVC::productIdentifier() });
    clock->advance(0s);
    clock->advance(0s);
    auto receipt = base::Files::read(store::receiptURL());
    ASSERT_TRUE(receipt);
    std::filesystem::remove(store::receiptURL());
    store::PaymentQueue::relaunch();

    auto screen = open();
    answerAlert(1);
    EXPECT_EQ(store::PaymentQueue::defaultQueue()->transactions().size(), 1u);
    EXPECT_FALSE(receiptWaits());
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 0u);

    ASSERT_TRUE(base::Files::writeAtomically(store::receiptURL(), *receipt));
    store::PaymentQueue::relaunch();
    home()->navigationController()->popViewController(false);
    push();
    ASSERT_TRUE(pumpUntil([] { return someAlertSays("buy_success"); }));
    EXPECT_TRUE(store::PaymentQueue::defaultQueue()->transactions().empty());
    EXPECT_EQ(requestsTo(ReceiptUploader::Method), 1u);
}

} // namespace
