// shell::DeviceListVC: the account's devices, pushed from the home screen. Each time it is about to appear it
// asks "GetDeviceList" for the signed-in account ("kLoginName2") and shows one row per device: its name, its
// type below it, and a check mark on the current device; the list's types become the account's device types
// (core::AccountDevices). A tapped row hands its device to the screen's `chosen` block (the home screen makes
// it the current device) and the screen pops itself. A reply that fails or holds no list is said (the network
// notice, or "get_device_failed") and keeps the rows shown before; before any list has come, the failure stays
// said in place of the rows. Main thread; made with make().
//
//   auto list = shell::DeviceListVC::make([weak](const auto& device) {
//       if (auto self = weak.lock()) self->deviceChosen(*device); });
//   navigationController()->pushViewController(list, true);
#pragma once

#include "base/values/Error.h"
#include "core/records/MobileDeviceAndLocation.h"
#include "ui/controllers/ViewController.h"
#include "ui/scroll/TableViewDataSource.h"

#include <functional>
#include <memory>
#include <vector>

namespace kit {
class LoadFailureLine;
}
namespace ui {
class TableView;
}

namespace shell {

class DeviceListVC : public ui::ViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    using Device = std::shared_ptr<core::MobileDeviceAndLocation>;
    using Chosen = std::function<void(const Device& device)>;

    static constexpr double rowHeight = 56;

    static std::shared_ptr<DeviceListVC> make(Chosen chosen);
    explicit DeviceListVC(Chosen chosen);

    // The rows shown, top to bottom, as the service listed them.
    const std::vector<Device>& devices() const { return m_devices; }
    const std::shared_ptr<ui::TableView>& tableView();
    // What a tap on that row does; a row out of range does nothing.
    void chooseDevice(size_t row);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

private:
    void loadDevices();
    void listArrived(const std::string& reply);
    // Says the list could not be loaded: `error` is the call's failure, or null for an answer without a list.
    void listFailed(const base::Error* error);

    Chosen m_chosen;
    std::vector<Device> m_devices;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<kit::LoadFailureLine> m_failureLine;
};

} // namespace shell
