#include "settings/personal/PersonalInfoVC.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "childcare/device/DeviceOnAndOf.h"
#include "core/messages/DBManager.h"
#include "core/helpers/Helper.h"
#include "core/helpers/KeyboardLift.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "settings/about/AboutVCViewController.h"
#include "settings/personal/PersonalInfoPasswordPanel.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace settings {

namespace {

    constexpr double barHeight = 64;
    constexpr gfx::Point switchCentre { 280, 30 };

    const char* imageOf(PersonalInfoRow row)
    {
        switch (row) {
        case PersonalInfoRow::DeviceName:
            return "user_image";
        case PersonalInfoRow::ChangePassword:
            return "user_keys";
        case PersonalInfoRow::RestoreDevice:
            return "remote_notification";
        case PersonalInfoRow::SleepTimer:
            return "sleep_timer";
        case PersonalInfoRow::RemotePower:
            return "power_manage";
        case PersonalInfoRow::KeyLock:
            return "msg_send";
        case PersonalInfoRow::Firewall:
            return "fire_wall";
        case PersonalInfoRow::ClearCache:
            return "clear_data";
        case PersonalInfoRow::MessagePush:
            return "user_mes";
        case PersonalInfoRow::Feedback:
            return "back_opinion";
        case PersonalInfoRow::About:
            return "about_app";
        }
        return "";
    }

    bool keyLockIsOn()
    {
        auto global = core::Singleton::shared().deviceDetail();
        return global && global->lumetDeviceConfig && global->lumetDeviceConfig->keyLockState == 1;
    }

} // namespace

std::shared_ptr<PersonalInfoVC> PersonalInfoVC::make(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<PersonalInfoVC>();
    screen->setDeviceDetail(std::move(device));
    return screen;
}

int64_t PersonalInfoVC::storedDeviceType()
{
    BASE_ASSERT_MAIN_THREAD();
    auto stored = core::DBManager::readSingleMobileDevice();
    return stored && stored->deviceTypeID ? *stored->deviceTypeID : 0;
}

const std::shared_ptr<ui::TableView>& PersonalInfoVC::tableView()
{
    view();
    return m_tableView;
}

const std::shared_ptr<PersonalInfoPasswordPanel>& PersonalInfoVC::passwordView()
{
    view();
    return m_passwordView;
}

std::vector<PersonalInfoRow> PersonalInfoVC::rowsOfSection(int section) const
{
    return PersonalInfoRows::ofSection(section, m_rowsDeviceType ? *m_rowsDeviceType : storedDeviceType());
}

void PersonalInfoVC::viewDidLoad()
{
    m_passwordView = PersonalInfoPasswordPanel::make(ui::weakFrom(this), [weak = ui::weakFrom(this)](ui::Button& b) {
        if (auto self = weak.lock())
            self->clickbtn(b);
    });
    setTitle(base::localized("setting_info"));
    gfx::Rect screen = ui::Screen::main().bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, barHeight, screen.width(), screen.height() - barHeight }, ui::TableViewStyle::Grouped);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    view()->setBackgroundColor(m_tableView->backgroundColor());
    view()->addSubview(m_tableView);
    setupLeftMenuButton();
    setupLogoutButton();
    m_entity = childcare::DeviceOnAndOfEntity::fromDevice(m_deviceDetail.get());
}

void PersonalInfoVC::setupLeftMenuButton()
{
    auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
        auto self = weak.lock();
        if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
            drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
    });
    navigationItem()->setLeftBarButtonItem(toggle, true);
}

void PersonalInfoVC::setupLogoutButton()
{
    if (!PersonalInfoRows::hasLogoutButton(storedDeviceType()))
        return;
    auto logout = std::make_shared<ui::BarButtonItem>(
        base::localized("logout"), ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->clickLogout();
        });
    logout->setTintColor(gfx::Color::white());
    navigationItem()->setRightBarButtonItem(logout);
}

void PersonalInfoVC::viewDidAppear(bool) { getDeviceDetail(); }

void PersonalInfoVC::viewWillDisappear(bool)
{
    if (m_keyboardLift)
        m_keyboardLift->stop();
}

void PersonalInfoVC::send(
    const char* method, base::DictionaryRef parameters, Reply reply, Failure failure, Lasting lasting)
{
    ++m_commandsInFlight;
    auto finish = [](PersonalInfoVC& self) { --self.m_commandsInFlight; };
    core::WebCall::post(
        method, parameters,
        [weak = ui::weakFrom(this), reply = std::move(reply), lasting = std::move(lasting), finish](
            const std::string& text) {
            if (lasting)
                lasting(text);
            if (auto self = weak.lock()) {
                finish(*self);
                reply(*self, text);
            }
        },
        [weak = ui::weakFrom(this), failure = std::move(failure), finish](const base::Error&) {
            if (auto self = weak.lock()) {
                finish(*self);
                failure(*self);
            }
        });
}

void PersonalInfoVC::getDeviceDetail()
{
    m_loadingDetail = true;
    auto parameters = base::Dictionary::make({ { "SerialNumber", core::Singleton::shared().lastSerialnumber() } });
    send(
        "GetDeviceDetial", parameters,
        [](PersonalInfoVC& self, const std::string& reply) { self.detailArrived(reply); },
        [](PersonalInfoVC& self) { self.detailFailed(); });
}

void PersonalInfoVC::detailArrived(const std::string& reply)
{
    auto device = core::Tool::readDeviceDetailFromJson(reply);
    if (!device) {
        detailFailed();
        return;
    }
    m_loadingDetail = false;
    m_deviceDetail = std::move(device);
    m_tableView->reloadData();
}

void PersonalInfoVC::detailFailed()
{
    m_loadingDetail = false;
    core::Helper::showNotify(false, base::localized("bad_netword"), view(), {});
}

int PersonalInfoVC::numberOfSectionsInTableView(ui::TableView&)
{
    // Asked first in every reload: the stored type is read here once, so that the counts and the cells of one
    // reload agree even when the stored row changes in between.
    m_rowsDeviceType = storedDeviceType();
    return PersonalInfoRows::sectionCount;
}

int PersonalInfoVC::numberOfRowsInSection(ui::TableView&, int section)
{
    return static_cast<int>(rowsOfSection(section).size());
}

std::string PersonalInfoVC::titleForHeaderInSection(ui::TableView&, int section)
{
    const char* key = PersonalInfoRows::headerKey(section);
    return *key ? base::localized(key) : std::string();
}

std::optional<double> PersonalInfoVC::heightForHeaderInSection(ui::TableView&, int) { return headerHeight; }

std::optional<double> PersonalInfoVC::heightForRowAtIndexPath(ui::TableView&, ui::IndexPath) { return rowHeight; }

std::shared_ptr<ui::TableViewCell> PersonalInfoVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    auto rows = rowsOfSection(path.section);
    PersonalInfoRow row = rows.at(static_cast<size_t>(path.row));
    auto cell = makeCell(table, row);
    cell->textLabel()->setText(base::localized(PersonalInfoRows::titleKey(row)));
    cell->imageView()->setImage(gfx::Image::named(imageOf(row)));
    return cell;
}

std::shared_ptr<ui::TableViewCell> PersonalInfoVC::makeCell(ui::TableView& table, PersonalInfoRow row)
{
    switch (row) {
    case PersonalInfoRow::DeviceName: {
        auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "cell0");
        cell->setBackgroundColor(gfx::Color::clear());
        cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
        auto stored = core::DBManager::readSingleMobileDevice();
        cell->detailTextLabel()->setText(stored ? stored->DeviceName.value_or("") : "");
        cell->detailTextLabel()->setTextColor(gfx::Color::black());
        return cell;
    }
    case PersonalInfoRow::SleepTimer:
    case PersonalInfoRow::KeyLock:
    case PersonalInfoRow::Firewall:
    case PersonalInfoRow::MessagePush:
        return makeSwitchCell(row);
    case PersonalInfoRow::RemotePower:
        return makePowerCell();
    default:
        break;
    }
    auto cell = table.dequeueReusableCellWithIdentifier("cell");
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "cell");
        cell->setBackgroundColor(gfx::Color::clear());
        cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    }
    return cell;
}

std::shared_ptr<ui::TableViewCell> PersonalInfoVC::makeSwitchCell(PersonalInfoRow row)
{
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default);
    cell->setBackgroundColor(gfx::Color::clear());
    switch (row) {
    case PersonalInfoRow::SleepTimer:
        m_sleepTimerBtn = addSwitch(*cell, sleepTimerTag, m_entity && m_entity->powerState == 1);
        break;
    case PersonalInfoRow::KeyLock:
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        m_btnLock = addSwitch(*cell, keyLockTag, keyLockIsOn());
        break;
    case PersonalInfoRow::Firewall:
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        m_firewallSwitch = addSwitch(*cell, firewallTag, PersonalInfoRows::firewallIsOn(m_deviceDetail.get()));
        break;
    default:
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        addSwitch(*cell, messagePushTag,
            base::UserDefaults::standard().stringForKey(core::SettingsKeys::NotificationSwitch) == "1");
        break;
    }
    return cell;
}

std::shared_ptr<ui::Switch> PersonalInfoVC::addSwitch(ui::TableViewCell& cell, int tag, bool on)
{
    auto control = std::make_shared<ui::Switch>(gfx::Rect { switchCentre.x - ui::Switch::size.width / 2,
        switchCentre.y - ui::Switch::size.height / 2, ui::Switch::size.width, ui::Switch::size.height });
    control->setTag(tag);
    control->setOn(on);
    control->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->switchValueChanged(static_cast<ui::Switch&>(sender));
        },
        ui::ControlEvent::ValueChanged);
    cell.contentView()->addSubview(control);
    return control;
}

std::shared_ptr<ui::TableViewCell> PersonalInfoVC::makePowerCell()
{
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default);
    cell->setBackgroundColor(gfx::Color::clear());
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    for (auto [tag, x, key] : { std::tuple { rebootTag, 220.0, "reboot" }, { shutdownTag, 280.0, "shutdown" } }) {
        auto button = std::make_shared<ui::Button>(gfx::Rect { x - 25, 15, 50, 30 });
        button->setTag(tag);
        button->setTitle(base::localized(key), ui::ControlState::Normal);
        button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
        button->titleLabel()->setFont(gfx::Font::system(10));
        button->setBackgroundImage(gfx::Image::named("obd_down_an_2"), ui::ControlState::Normal);
        button->addAction(
            [weak = ui::weakFrom(this)](ui::Control& sender) {
                if (auto self = weak.lock())
                    self->clickPowerManage(static_cast<ui::Button&>(sender));
            },
            ui::ControlEvent::TouchUpInside);
        cell->contentView()->addSubview(button);
    }
    return cell;
}

void PersonalInfoVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    table.deselectRowAtIndexPath(path, true);
    auto rows = rowsOfSection(path.section);
    if (path.row >= 0 && static_cast<size_t>(path.row) < rows.size())
        selectRow(rows[static_cast<size_t>(path.row)]);
}

void PersonalInfoVC::selectRow(PersonalInfoRow row)
{
    switch (row) {
    case PersonalInfoRow::DeviceName:
        return askNewDeviceName();
    case PersonalInfoRow::ChangePassword:
        return showPasswordPanel();
    case PersonalInfoRow::RestoreDevice:
        return askFactoryReset();
    case PersonalInfoRow::SleepTimer:
        return openPowerSchedule();
    case PersonalInfoRow::ClearCache:
        return showClearDataSheet();
    case PersonalInfoRow::Feedback:
        return core::Helper::showFeedback(ui::sharedFrom(this));
    case PersonalInfoRow::About:
        return openAbout();
    default:
        return;
    }
}

void PersonalInfoVC::openPowerSchedule()
{
    if (auto navigation = navigationController())
        navigation->pushViewController(childcare::DeviceOnAndOf::make(m_entity, m_deviceDetail), true);
}

void PersonalInfoVC::openAbout()
{
    if (auto navigation = navigationController())
        navigation->pushViewController(AboutVCViewController::make(), true);
}

void PersonalInfoVC::switchValueChanged(ui::Switch& sender)
{
    switch (sender.tag()) {
    case sleepTimerTag:
        return sleepTimerChanged(sender);
    case messagePushTag:
        return messagePushChanged(sender);
    case firewallTag:
        return firewallChanged(sender);
    case keyLockTag:
        return keyLockChanged(sender);
    default:
        return;
    }
}

} // namespace settings
