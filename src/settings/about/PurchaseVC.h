// settings::PurchaseVC: the purchase of the permanent service for the current device, a table of one row
// ("permanent") with a "buy" button. At load it asks the receipt uploader to look the published version up; with
// no receipt of the signed-in account waiting it shows the notice ("know_before_buy"/"buy_know": "disagree" pops
// the screen, "agree" stays), else it has the waiting receipt sent again at once. "buy" asks the store for the
// product (busy overlay "please_wait") and pays for it while the sign-in of the tap lasts, noting its account and
// the device current at the tap as the payment's buyer and device (core::Purchases); a purchased transaction's
// receipt is kept as one line of Base64 with them, whichever account's screen hears of it, and only then is the
// transaction finished and the receipt handed to the uploader, which sends it in a sign-in of the buyer until the
// service grants it; a grant while the screen is open shows "buy_success", whose "done" pops it. Failed and
// restored transactions are finished silently; a failed products request, or a reply without our product, shows
// "buy_failed". Main thread; made with make().
//
//   navigation->pushViewController(settings::PurchaseVC::make(), true);
#pragma once

#include "core/service/ReceiptUploader.h"
#include "core/state/SignInSession.h"
#include "store/PaymentQueue.h"
#include "store/ProductsRequest.h"
#include "ui/alerts/AlertView.h"
#include "ui/controllers/ViewController.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <string>
#include <vector>

namespace kit {
class ProgressOverlay;
}
namespace ui {
class Button;
class TableView;
}

namespace settings {

class PurchaseVC : public ui::ViewController,
                   public ui::TableViewDataSource,
                   public ui::TableViewDelegate,
                   public ui::AlertViewDelegate,
                   public store::PaymentTransactionObserver,
                   public store::ProductsRequestDelegate,
                   public core::ReceiptUploaderListener {
public:
    static constexpr int successAlertTag = 400;
    static constexpr const char* cellIdentifier = "purchaseCell";
    static constexpr double buttonWidth = 80;

    static std::shared_ptr<PurchaseVC> make();
    ~PurchaseVC() override;

    // The one product: the bundle identifier followed by ".Permanent".
    static std::string productIdentifier();

    const std::shared_ptr<ui::TableView>& tableView();
    // The buy button of the row, once the row is shown.
    std::shared_ptr<ui::Button> buyButton();
    void clickBuy(int tag);

    void viewDidLoad() override;
    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;
    void updatedTransactions(store::PaymentQueue& queue, const store::Transactions& transactions) override;
    void didReceiveResponse(store::ProductsRequest& request, const std::vector<store::Product>& products,
        const std::vector<std::string>& invalidIdentifiers) override;
    void didFail(store::ProductsRequest& request, const base::Error& error) override;
    void receiptGranted() override;

private:
    void showNotice();
    void requestProductData(const std::string& identifier);
    void addPayment(const store::Product& product);
    void hideHUD();
    void completeTransaction(store::PaymentQueue& queue, const std::shared_ptr<store::PaymentTransaction>& transaction);
    std::shared_ptr<ui::View> makeBuyContainer(const gfx::Rect& cellBounds, int row);

    std::vector<std::string> m_arr;
    int m_productType { -1 };
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<kit::ProgressOverlay> m_hud;
    std::shared_ptr<ui::Button> m_buyButton;
    std::shared_ptr<store::PaymentQueue> m_queue;
    // The sign-in and the current device of the last "buy".
    core::SignInSession m_buyer;
    std::string m_buyerSerial;
};

} // namespace settings
