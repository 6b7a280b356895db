#include "settings/phonebook/PhoneBookVC.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/images/ImageContext.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "kit/refresh/ScrollViewRefresh.h"
#include "kit/widgets/LoadFailureLine.h"
#include "settings/phonebook/EditPhoneBookVC.h"
#include "settings/phonebook/PhoneBookPhotos.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

#include <algorithm>

namespace settings {

namespace {

    constexpr gfx::Color titleColour = gfx::Color::fromWhite(0.22, 1);
    // The navigation bar and the status bar above it, which the table runs under.
    constexpr double barsHeight = ui::Screen::statusBarHeight + ui::NavigationBar::height;

    std::string serialNumber() { return core::Singleton::shared().lastSerialnumber(); }

    std::string entry(const std::vector<std::string>& list, int row)
    {
        return row >= 0 && static_cast<size_t>(row) < list.size() ? list[static_cast<size_t>(row)] : std::string();
    }

    // The photo drawn at the head size, whatever the size of the picture it came from.
    std::shared_ptr<gfx::Image> headImage(const std::shared_ptr<gfx::Image>& photo)
    {
        constexpr double size = PhoneBookVC::HeadSize;
        gfx::ImageContext::begin({ size, size }, false, 0);
        if (auto* context = gfx::CurrentContext::get(); context && photo)
            context->drawImage(*photo, { 0, 0, size, size });
        auto drawn = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return drawn;
    }

    base::ArrayRef texts(const std::vector<std::string>& list)
    {
        return base::Array::make(std::vector<base::Value>(list.begin(), list.end()));
    }

} // namespace

std::shared_ptr<PhoneBookVC> PhoneBookVC::make() { return std::make_shared<PhoneBookVC>(); }

const std::shared_ptr<ui::TableView>& PhoneBookVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

const std::shared_ptr<EditPhoneBookVC>& PhoneBookVC::editor()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_editor;
}

void PhoneBookVC::loadView()
{
    auto root = std::make_shared<ui::View>(ui::Screen::main().bounds());
    root->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_tableView = std::make_shared<ui::TableView>(root->bounds(), ui::TableViewStyle::Plain);
    m_tableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    // The rows start below the bars the screen runs under, and scroll up beneath them.
    m_tableView->setContentInset({ barsHeight, 0, 0, 0 });
    m_tableView->setContentOffset({ 0, -barsHeight });
    m_tableView->setRowHeight(RowHeight);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    root->addSubview(m_tableView);
    // It covers every row, however far the table is scrolled.
    double rowsHeight = std::max(root->bounds().height() - barsHeight, Rows * RowHeight);
    m_failureLine = kit::LoadFailureLine::make({ 0, 0, root->bounds().width(), rowsHeight });
    m_failureLine->setBackgroundColor(gfx::Color::white());
    m_tableView->addSubview(m_failureLine);
    setView(root);
    setupRefresh();
}

void PhoneBookVC::setupRefresh()
{
    kit::addHeaderWithTarget(*m_tableView, ui::sharedFrom(this), &PhoneBookVC::headerRereshing, RefreshDateKey);
    kit::setHeaderPullToRefreshText(*m_tableView, base::localized("down_to_refresh"));
    kit::setHeaderReleaseToRefreshText(*m_tableView, base::localized("release_to_refresh"));
    kit::setHeaderRefreshingText(*m_tableView, base::localized("loading"));
}

void PhoneBookVC::viewDidLoad()
{
    setupLeftMenuButton();
    m_editor = std::make_shared<EditPhoneBookVC>();
    m_editor->setDelegate(ui::weakFrom(this));
    getPhoneBook();
}

void PhoneBookVC::setupLeftMenuButton()
{
    auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
        auto self = weak.lock();
        if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
            drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
    });
    navigationItem()->setLeftBarButtonItem(toggle);
}

void PhoneBookVC::getPhoneBook()
{
    ++m_loadsUnderWay;
    core::WebCall::post(
        "LumetGetPhoneBook_V2", base::Dictionary::make({ { "Serialnumber", serialNumber() } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->bookArrived(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            base::log("phone book: the book could not be loaded: " + error.localizedDescription());
            if (auto self = weak.lock()) {
                self->m_failureLine->loadFailed(core::LoadFailureNotice::show(self->view(), &error));
                self->loadEnded();
            }
        });
}

// The rows keep what they show while a refresh is under way, and after one that failed, which is said.
void PhoneBookVC::headerRereshing(kit::RefreshBaseView&) { getPhoneBook(); }

// Only an object (or null, a watch without a book) is a book; anything else is a failed load, which must not
// become ten blank entries that the next save would send to the watch.
void PhoneBookVC::bookArrived(const std::string& reply)
{
    auto d = core::ReplyFields::payload(reply);
    auto book = d && (d->isNull() || d->dictionary()) ? core::Tool::getPhoneBookNumber(reply) : std::nullopt;
    if (book) {
        m_phoneNumbers = std::move(book->numbers);
        m_phoneNames = std::move(book->names);
        m_loaded = true;
        m_failureLine->loadSucceeded();
    } else {
        base::log("phone book: the reply holds no book");
        m_failureLine->loadFailed(core::LoadFailureNotice::show(view(), nullptr));
    }
    loadEnded();
}

void PhoneBookVC::loadEnded()
{
    --m_loadsUnderWay;
    m_tableView->reloadData();
    kit::headerEndRefreshing(*m_tableView);
}

bool PhoneBookVC::saveEdit(const std::string& name, const std::string& phone, int64_t index)
{
    bool fits = index >= 0 && static_cast<size_t>(index) < m_phoneNumbers.size()
        && static_cast<size_t>(index) < m_phoneNames.size();
    if (!m_loaded || !fits) {
        core::showPromptAlert("setting_failed");
        return false;
    }
    m_phoneNumbers[static_cast<size_t>(index)] = phone;
    m_phoneNames[static_cast<size_t>(index)] = name;
    sendBook();
    return true;
}

void PhoneBookVC::sendBook()
{
    auto entity = base::Dictionary::make({
        { "_id", serialNumber() },
        { "PL", texts(m_phoneNumbers) },
        { "Name", texts(m_phoneNames) },
        { "Icon", base::Value::null() },
    });
    core::WebCall::post(
        "LumetSetPhoneBook_V2", base::Dictionary::make({ { "entity", entity } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->saveAnswered(core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            base::log("phone book: the book could not be sent: " + error.localizedDescription());
            if (auto self = weak.lock())
                self->saveAnswered(false);
        });
}

void PhoneBookVC::saveAnswered(bool accepted)
{
    if (accepted)
        core::showUntitledAlert("setting_success");
    else
        core::showPromptAlert("setting_failed");
    m_tableView->reloadData();
}

int PhoneBookVC::numberOfRowsInSection(ui::TableView&, int) { return Rows; }

std::optional<double> PhoneBookVC::heightForRowAtIndexPath(ui::TableView&, ui::IndexPath) { return RowHeight; }

std::shared_ptr<ui::TableViewCell> PhoneBookVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    auto cell = table.dequeueReusableCellWithIdentifier(CellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, CellIdentifier);
        cell->textLabel()->setFont(gfx::Font::system(17));
        cell->textLabel()->setTextColor(titleColour);
        cell->setBackgroundColor(gfx::Color::clear());
        cell->imageView()->setClipsToBounds(true);
        cell->imageView()->layer()->setCornerRadius(HeadSize / 2);
    }
    int row = path.row;
    bool shown = !m_phoneNumbers.empty();
    auto photo = shown ? PhoneBookPhotos::photoOrDefault(serialNumber(), row)
                       : gfx::Image::named(PhoneBookPhotos::DefaultHeadImage);
    cell->imageView()->setImage(headImage(photo));
    cell->textLabel()->setText(shown ? entry(m_phoneNames, row) : "");
    cell->detailTextLabel()->setText(shown ? entry(m_phoneNumbers, row) : "");
    return cell;
}

void PhoneBookVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    table.deselectRowAtIndexPath(path, true);
    auto cell = table.cellForRowAtIndexPath(path);
    auto navigation = navigationController();
    if (!cell || !navigation)
        return;
    m_editor->prepare(serialNumber(), path.row, cell->textLabel()->text(), cell->detailTextLabel()->text());
    navigation->pushViewController(m_editor, true);
}

} // namespace settings
