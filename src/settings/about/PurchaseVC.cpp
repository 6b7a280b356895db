#include "settings/about/PurchaseVC.h"

#include "base/loop/MainThread.h"
#include "base/system/Bundle.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/Purchases.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "kit/overlay/ProgressOverlay.h"
#include "networking/forms/Base64.h"
#include "store/StorePaths.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationBar.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/view/Application.h"

namespace settings {

using State = store::PaymentTransaction::State;

std::shared_ptr<PurchaseVC> PurchaseVC::make() { return std::make_shared<PurchaseVC>(); }

PurchaseVC::~PurchaseVC()
{
    if (m_queue)
        m_queue->removeTransactionObserver(this);
}

std::string PurchaseVC::productIdentifier() { return base::Bundle::main().identifier() + ".Permanent"; }

const std::shared_ptr<ui::TableView>& PurchaseVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

std::shared_ptr<ui::Button> PurchaseVC::buyButton()
{
    BASE_ASSERT_MAIN_THREAD();
    tableView()->layoutIfNeeded();
    return m_buyButton;
}

void PurchaseVC::viewDidLoad()
{
    const auto& root = view();
    root->setBackgroundColor(gfx::Color::white());
    // The screen lies under the status bar and the navigation bar; the table starts below them.
    double top = ui::Application::shared().statusBarFrame().height() + ui::NavigationBar::height;
    gfx::Rect bounds = root->bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, top, bounds.width(), bounds.height() - top }, ui::TableViewStyle::Plain);
    m_tableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    root->addSubview(m_tableView);

    auto uploader = core::ReceiptUploader::shared();
    uploader->setListener(self);
    uploader->lookUpVersion();
    m_arr = { base::localized("permanent") };
    if (core::ReceiptUploader::receiptWaitsForCurrentSignIn())
        uploader->uploadStoredReceipt();
    else
        showNotice();
    m_queue = store::PaymentQueue::defaultQueue();
    m_queue->addTransactionObserver(self);
}

void PurchaseVC::showNotice()
{
    auto alert = std::make_shared<ui::AlertView>(base::localized("know_before_buy"), base::localized("buy_know"),
        ui::sharedFrom(this), base::localized("disagree"), std::vector { base::localized("agree") });
    alert->show();
}

int PurchaseVC::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_arr.size()); }

std::shared_ptr<ui::TableViewCell> PurchaseVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    auto cell = table.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, cellIdentifier);
        cell->setBackgroundColor(gfx::Color::clear());
        cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        gfx::Rect bounds { 0, 0, table.bounds().width(), table.rowHeight() };
        cell->setAccessoryView(makeBuyContainer(bounds, path.row));
        m_productType = path.row;
    }
    cell->textLabel()->setText(m_arr[path.row]);
    cell->textLabel()->setTextColor(gfx::Color::gray());
    return cell;
}

std::shared_ptr<ui::View> PurchaseVC::makeBuyContainer(const gfx::Rect& cellBounds, int row)
{
    double height = cellBounds.height() - 10;
    auto container = std::make_shared<ui::View>(gfx::Rect { cellBounds.width() - 90, 5, buttonWidth, height });
    auto button = std::make_shared<ui::Button>(gfx::Rect { 0, 0, buttonWidth, height });
    button->setBackgroundImage(gfx::Image::named("start_btn_back"), ui::ControlState::Normal);
    button->setTitle(base::localized("buy"), ui::ControlState::Normal);
    button->setTag(row);
    button->addAction(
        [weak = weak_from_this(), row](ui::Control&) {
            if (auto self = std::dynamic_pointer_cast<PurchaseVC>(weak.lock()))
                self->clickBuy(row);
        },
        ui::ControlEvent::TouchUpInside, this);
    container->addSubview(button);
    m_buyButton = button;
    return container;
}

void PurchaseVC::clickBuy(int tag)
{
    base::trace("store", "buy tapped, tag " + std::to_string(tag));
    if (tag != 0)
        return;
    if (!store::PaymentQueue::canMakePayments()) {
        base::trace("store", "payments are not allowed");
        return;
    }
    requestProductData(productIdentifier());
}

void PurchaseVC::requestProductData(const std::string& identifier)
{
    hideHUD();
    m_buyer = core::SignInSession::current();
    m_buyerSerial = core::Singleton::shared().lastSerialnumber();
    m_hud = kit::ProgressOverlay::makeForView(view());
    core::Helper::showHUD(base::localized("please_wait"), view(), m_hud);
    auto request = store::ProductsRequest::make({ identifier });
    request->setDelegate(ui::sharedFrom(this));
    request->start();
}

void PurchaseVC::hideHUD()
{
    if (m_hud)
        m_hud->hide(true);
    m_hud = nullptr;
}

void PurchaseVC::didReceiveResponse(
    store::ProductsRequest&, const std::vector<store::Product>& products, const std::vector<std::string>& invalid)
{
    hideHUD();
    base::trace("store", std::to_string(products.size()) + " products, " + std::to_string(invalid.size()) + " unknown");
    for (const auto& product : products) {
        if (product.identifier == productIdentifier() && m_productType == 0) {
            addPayment(product);
            return;
        }
    }
    base::log("store: the reply holds no product " + productIdentifier());
    core::showUntitledAlert("buy_failed");
}

// The buyer and the device of the tap go with the payment from now on: the store may report it to another
// account's screen, or after a new launch. A payment nobody signed in is left to own is not made.
void PurchaseVC::addPayment(const store::Product& product)
{
    if (!m_buyer.isOpen())
        return;
    auto transaction = m_queue->addPayment(store::Payment::forProduct(product));
    core::Purchases::add(transaction->identifier(), m_buyer.account, m_buyerSerial);
}

void PurchaseVC::didFail(store::ProductsRequest&, const base::Error& error)
{
    hideHUD();
    base::log("store: products request failed: " + error.description());
    core::showUntitledAlert("buy_failed");
}

void PurchaseVC::updatedTransactions(store::PaymentQueue& queue, const store::Transactions& transactions)
{
    for (const auto& transaction : transactions) {
        switch (transaction->state()) {
        case State::Purchasing:
            base::trace("store", "purchasing " + transaction->identifier());
            break;
        case State::Purchased:
            completeTransaction(queue, transaction);
            break;
        case State::Failed:
        case State::Restored:
            core::Purchases::forget(transaction->identifier());
            queue.finishTransaction(transaction);
            break;
        }
    }
}

// The transaction is finished only once its receipt is stored, with the buyer and the device its payment was
// added for: until then the store delivers it again.
void PurchaseVC::completeTransaction(
    store::PaymentQueue& queue, const std::shared_ptr<store::PaymentTransaction>& transaction)
{
    std::string receipt = networking::Base64::encode(base::Files::read(store::receiptURL()).value_or(""));
    if (receipt.empty()) {
        base::log("store: no receipt for a purchase; it stays unfinished");
        return;
    }
    core::Purchases::keepReceipt(transaction->identifier(), receipt);
    queue.finishTransaction(transaction);
    core::ReceiptUploader::shared()->uploadStoredReceipt();
}

void PurchaseVC::receiptGranted()
{
    auto alert = std::make_shared<ui::AlertView>(
        std::nullopt, base::localized("buy_success"), ui::sharedFrom(this), base::localized("done"));
    alert->setTag(successAlertTag);
    alert->show();
}

void PurchaseVC::alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex)
{
    if (buttonIndex != 0)
        return;
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace settings
