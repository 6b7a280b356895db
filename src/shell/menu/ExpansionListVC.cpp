#include "shell/menu/ExpansionListVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/messages/DBManager.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "core/state/Logout.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/menu/MenuFunctions.h"
#include "shell/menu/NavViewController.h"
#include "shell/screens/ScreenDirectory.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/input/SwipeGestureRecognizer.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/view/Screen.h"

#include <algorithm>

namespace shell {

namespace {

    constexpr gfx::Color background = gfx::Color::rgb(0.16, 0.18, 0.2);
    constexpr const char* cellIdentifier = "function";

    // The part of the menu that the open drawer uncovers.
    double menuWidth() { return ui::Screen::main().bounds().width() - 60; }

    std::string rowImageName(const std::string& key) { return "menu_" + key; }

} // namespace

std::shared_ptr<ExpansionListVC> ExpansionListVC::make() { return std::make_shared<ExpansionListVC>(); }

const std::shared_ptr<ui::TableView>& ExpansionListVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

const std::shared_ptr<ui::Button>& ExpansionListVC::settingsButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_settingsButton;
}

void ExpansionListVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& root = view();
    root->setBackgroundColor(background);
    buildHeader();

    gfx::Rect bounds = root->bounds();
    m_tableView
        = std::make_shared<ui::TableView>(gfx::Rect { 0, headerHeight, menuWidth(), bounds.height() - headerHeight });
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->setRowHeight(rowHeight);
    m_tableView->setSeparatorColor(gfx::Color::fromWhite(1, 0.12));
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    root->addSubview(m_tableView);

    // Another device made current (the device list) brings its type's rows, even while the menu is closed.
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::PostDevice, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->showRows();
        },
        this);
}

void ExpansionListVC::buildHeader()
{
    auto header = std::make_shared<ui::View>(gfx::Rect { 0, 0, menuWidth(), headerHeight });
    auto avatar = std::make_shared<ui::ImageView>(gfx::Image::named("menu_avatar"));
    avatar->setFrame({ 16, 42, 56, 56 });
    header->addSubview(avatar);

    m_accountLabel = std::make_shared<ui::Label>(gfx::Rect { 84, 48, menuWidth() - 84 - 52, 22 });
    m_accountLabel->setFont(gfx::Font::boldSystem(17));
    m_accountLabel->setTextColor(gfx::Color::white());
    header->addSubview(m_accountLabel);
    m_deviceLabel = std::make_shared<ui::Label>(gfx::Rect { 84, 72, menuWidth() - 84 - 52, 20 });
    m_deviceLabel->setFont(gfx::Font::system(13));
    m_deviceLabel->setTextColor(gfx::Color::lightGray());
    header->addSubview(m_deviceLabel);

    m_settingsButton = std::make_shared<ui::Button>(gfx::Rect { menuWidth() - 48, 50, 36, 36 });
    m_settingsButton->setTag(settingsButtonTag);
    m_settingsButton->setImage(gfx::Image::named("menu_setting"), ui::ControlState::Normal);
    m_settingsButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->openSettings();
        },
        ui::ControlEvent::TouchUpInside);
    header->addSubview(m_settingsButton);

    auto swipe = std::make_shared<ui::SwipeGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->openSettings();
    });
    swipe->setDirection(ui::SwipeGestureRecognizer::Right);
    header->addGestureRecognizer(swipe);
    view()->addSubview(header);
}

ExpansionListVC::~ExpansionListVC() { base::NotificationCenter::defaultCenter().removeObservers(this); }

void ExpansionListVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    showRows();
    requestDevice();
}

void ExpansionListVC::showRows()
{
    m_functions = MenuFunctions::forDeviceType(core::Singleton::shared().deviceTypeID());
    m_tableView->reloadData();
    showHeaderTexts();
}

void ExpansionListVC::viewWillDisappear(bool) { m_pendingScreen.reset(); }

void ExpansionListVC::showHeaderTexts()
{
    m_accountLabel->setText(base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2).value_or(""));
    std::optional<std::string> deviceName;
    if (hasCurrentRecord())
        deviceName = m_device->deviceName;
    else if (auto stored = core::DBManager::readSingleMobileDevice())
        deviceName = stored->DeviceName;
    m_deviceLabel->setText(deviceName.value_or(core::Singleton::shared().lastSerialnumber()));
}

void ExpansionListVC::requestDevice()
{
    if (m_requestingDevice)
        return;
    m_requestingDevice = true;
    std::string serialNumber = core::Singleton::shared().lastSerialnumber();
    core::WebCall::post(
        "GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", serialNumber } }),
        [weak = ui::weakFrom(this), serialNumber](const std::string& reply) {
            auto self = weak.lock();
            if (!self)
                return;
            // Another device was chosen while this one's record was on its way: that one's record is wanted.
            if (serialNumber != core::Singleton::shared().lastSerialnumber()) {
                self->m_requestingDevice = false;
                self->requestDevice();
                return;
            }
            self->deviceArrived(core::Tool::readDeviceDetailFromJson(reply), serialNumber);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            if (auto self = weak.lock())
                self->deviceFailed(&error);
        });
}

void ExpansionListVC::deviceArrived(std::shared_ptr<core::Device> device, const std::string& serialNumber)
{
    m_requestingDevice = false;
    bool read = device != nullptr;
    if (read) {
        m_device = std::move(device);
        m_deviceSerialNumber = serialNumber;
    }
    showHeaderTexts();
    if (!m_pendingScreen)
        return;
    if (!read) {
        deviceFailed(nullptr);
        return;
    }
    std::string pending = std::move(*m_pendingScreen);
    m_pendingScreen.reset();
    openScreen(pending);
}

bool ExpansionListVC::hasCurrentRecord() const
{
    return m_device && m_deviceSerialNumber == core::Singleton::shared().lastSerialnumber();
}

void ExpansionListVC::deviceFailed(const base::Error* error)
{
    m_requestingDevice = false;
    if (!m_pendingScreen)
        return;
    m_pendingScreen.reset();
    core::LoadFailureNotice::show(view(), error);
}

int ExpansionListVC::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_functions.size()); }

std::shared_ptr<ui::TableViewCell> ExpansionListVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, cellIdentifier);
        cell->setBackgroundColor(gfx::Color::clear());
        cell->textLabel()->setTextColor(gfx::Color::white());
        cell->textLabel()->setFont(gfx::Font::system(16));
    }
    const std::string& key = m_functions.at(static_cast<size_t>(path.row));
    cell->textLabel()->setText(base::localized(key));
    cell->imageView()->setImage(gfx::Image::named(rowImageName(key)));
    return cell;
}

void ExpansionListVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    table.deselectRowAtIndexPath(path, true);
    if (auto cell = table.cellForRowAtIndexPath(path))
        openRowTitled(cell->textLabel()->text());
}

void ExpansionListVC::openRowTitled(const std::string& title)
{
    BASE_ASSERT_MAIN_THREAD();
    auto found = std::find_if(
        m_functions.begin(), m_functions.end(), [&](const std::string& key) { return base::localized(key) == title; });
    if (found != m_functions.end())
        openFunction(*found);
}

void ExpansionListVC::openSettings() { openScreen(ScreenDirectory::Settings); }

void ExpansionListVC::openFunction(const std::string& key)
{
    if (key == MenuFunctions::Logout) {
        core::Logout::logOut();
        return;
    }
    if (key == MenuFunctions::Home) {
        showCentre(MainMenuVC::make());
        return;
    }
    openScreen(key);
}

void ExpansionListVC::openScreen(const std::string& name)
{
    auto& directory = ScreenDirectory::shared();
    bool isPanel = !directory.contains(name) && directory.containsPanel(name);
    if (!directory.contains(name) && !isPanel)
        return;
    // A record being read again may be older than what the service holds now (a number just set from the
    // home screen): the screen waits for the new one rather than echo the old one back in a later send.
    if (!hasCurrentRecord() || m_requestingDevice) {
        m_pendingScreen = name;
        requestDevice();
        return;
    }
    if (isPanel)
        showPanel(name);
    else
        showCentre(directory.make(name, m_device, ScreenDirectory::Opening::DrawerCentre));
}

void ExpansionListVC::showPanel(const std::string& name)
{
    // The panel (or the sheet that leads to it) comes over the screen it serves, as a screen of the menu comes
    // into the centre: the drawer closes first.
    if (auto drawer = kit::drawerControllerOf(*this))
        drawer->closeDrawer(true);
    ScreenDirectory::shared().showPanel(name, m_device);
}

void ExpansionListVC::showCentre(std::shared_ptr<ui::ViewController> screen)
{
    auto drawer = kit::drawerControllerOf(*this);
    if (!drawer || !screen)
        return;
    drawer->setCenterViewControllerWithCloseAnimation(
        NavViewController::withRootViewController(std::move(screen)), true);
}

} // namespace shell
