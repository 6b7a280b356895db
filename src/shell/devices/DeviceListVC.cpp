#include "shell/devices/DeviceListVC.h"

#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/values/Dictionary.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/AccountDevices.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "kit/widgets/LoadFailureLine.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Label.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace shell {

namespace {

    // The screen runs under the navigation bar; the list starts below it.
    constexpr double navigationBarBottom = 64;

    constexpr const char* cellIdentifier = "device";

    std::string typeText(const core::MobileDeviceAndLocation& device)
    {
        if (!device.deviceTypeID)
            return {};
        return base::LocalizedFormat::format(base::localized("device_type_number"), { *device.deviceTypeID });
    }

} // namespace

std::shared_ptr<DeviceListVC> DeviceListVC::make(Chosen chosen)
{
    return std::make_shared<DeviceListVC>(std::move(chosen));
}

DeviceListVC::DeviceListVC(Chosen chosen)
    : m_chosen(std::move(chosen))
{
}

const std::shared_ptr<ui::TableView>& DeviceListVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

void DeviceListVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    setTitle(base::localized("device_list"));
    view()->setBackgroundColor(gfx::Color::white());
    gfx::Rect bounds = view()->bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, navigationBarBottom, bounds.width(), bounds.height() - navigationBarBottom });
    m_tableView->setRowHeight(rowHeight);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    view()->addSubview(m_tableView);
    m_failureLine = kit::LoadFailureLine::make(m_tableView->bounds());
    m_failureLine->setBackgroundColor(gfx::Color::white());
    m_tableView->addSubview(m_failureLine);
}

void DeviceListVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    loadDevices();
}

void DeviceListVC::loadDevices()
{
    auto account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2).value_or("");
    core::WebCall::post(
        core::ServiceProtocol::DeviceListMethod,
        base::Dictionary::make({ { core::ServiceProtocol::LoginNameKey, account } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->listArrived(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            if (auto self = weak.lock())
                self->listFailed(&error);
        });
}

void DeviceListVC::listArrived(const std::string& reply)
{
    // An account without devices answers an empty list; a reply without a list is a fault, not "no devices".
    base::Error unreadable;
    auto devices = core::Tool::readDeviceListFromJson(reply, &unreadable);
    if (!unreadable.isEmpty()) {
        listFailed(nullptr);
        return;
    }
    core::AccountDevices::remember(devices);
    m_devices = std::move(devices);
    m_failureLine->loadSucceeded();
    m_tableView->reloadData();
}

void DeviceListVC::listFailed(const base::Error* error)
{
    m_failureLine->loadFailed(core::LoadFailureNotice::show(view(), error, "get_device_failed"));
}

int DeviceListVC::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_devices.size()); }

std::shared_ptr<ui::TableViewCell> DeviceListVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Subtitle, cellIdentifier);
    const auto& device = *m_devices.at(static_cast<size_t>(path.row));
    cell->textLabel()->setText(device.DeviceName.value_or(device.serialNumber.value_or("")));
    cell->detailTextLabel()->setText(typeText(device));
    bool current = device.serialNumber == core::Singleton::shared().lastSerialnumber();
    cell->setAccessoryType(current ? ui::TableViewCellAccessoryType::Checkmark : ui::TableViewCellAccessoryType::None);
    return cell;
}

void DeviceListVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    table.deselectRowAtIndexPath(path, true);
    chooseDevice(static_cast<size_t>(path.row));
}

void DeviceListVC::chooseDevice(size_t row)
{
    BASE_ASSERT_MAIN_THREAD();
    if (row >= m_devices.size())
        return;
    Device device = m_devices[row];
    if (m_chosen)
        m_chosen(device);
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace shell
