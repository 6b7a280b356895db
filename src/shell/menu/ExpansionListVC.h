// shell::ExpansionListVC: the function menu, the drawer container's left drawer. A header shows the
// signed-in account and the current device, with the settings button (tag 0); below it one row per function
// of the current device's type (MenuFunctions), titled with the function's localised text.
//
// Each time the menu appears, and each time the home screen posts a new device record ("posetDevice"), it
// reloads its rows for Singleton's device type. Each time it appears it also asks "GetDeviceDetial" for
// Singleton's current serial number: that record is the one every screen the menu opens is given. A tapped row is found
// by its localised title: the home row puts a new home screen in the centre, the logout row runs core::Logout, and a
// feature row (or the settings button, or a swipe to the right over the header) makes its screen from the
// ScreenDirectory (opened as the drawer's centre), puts it at the root of a new NavViewController and makes
// that the drawer's centre with the close animation; a row that names a panel closes the drawer (animated) and
// shows the panel over the screen in the centre.
// A screen that is not built yet leaves its row doing nothing. A row tapped before the
// record has come, or while it is being read again, opens its screen when the record comes, unless the menu
// has closed meanwhile. A record that comes for a device no longer current is not used: the current one's is
// asked for. Main thread; made with make().
//
//   auto menu = shell::ExpansionListVC::make();
//   auto drawer = kit::makeApplicationDrawerController(homeNavigation, menu);
#pragma once

#include "base/values/Error.h"
#include "core/records/Device.h"
#include "ui/controllers/ViewController.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class Label;
class TableView;
}

namespace shell {

class ExpansionListVC : public ui::ViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    static constexpr double headerHeight = 120;
    static constexpr double rowHeight = 50;
    static constexpr int settingsButtonTag = 0;

    static std::shared_ptr<ExpansionListVC> make();
    ~ExpansionListVC() override;

    // The function keys of the rows, top to bottom.
    const std::vector<std::string>& functions() const { return m_functions; }
    // The current device's record, as last read; empty before the first reply.
    const std::shared_ptr<core::Device>& device() const { return m_device; }

    // What a tap on the row of that title does; a title no row has does nothing.
    void openRowTitled(const std::string& title);
    // The settings button's action and the header swipe's.
    void openSettings();

    const std::shared_ptr<ui::TableView>& tableView();
    const std::shared_ptr<ui::Button>& settingsButton();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

private:
    void buildHeader();
    void showRows();
    void showHeaderTexts();
    void requestDevice();
    void deviceArrived(std::shared_ptr<core::Device> device, const std::string& serialNumber);
    // `error` is the request's failure, or null for a reply that could not be read.
    void deviceFailed(const base::Error* error);
    // The record read is the current device's (another may have been chosen since).
    bool hasCurrentRecord() const;
    void openFunction(const std::string& key);
    void openScreen(const std::string& name);
    void showPanel(const std::string& name);
    void showCentre(std::shared_ptr<ui::ViewController> screen);

    std::vector<std::string> m_functions;
    std::shared_ptr<core::Device> m_device;
    // The serial number the record was asked for.
    std::string m_deviceSerialNumber;
    bool m_requestingDevice { false };
    std::optional<std::string> m_pendingScreen;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::Button> m_settingsButton;
    std::shared_ptr<ui::Label> m_accountLabel;
    std::shared_ptr<ui::Label> m_deviceLabel;
};

} // namespace shell
