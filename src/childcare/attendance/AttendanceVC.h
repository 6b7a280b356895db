// childcare::AttendanceVC: the current watch's school attendance: arrivals and departures of the reference
// day (the first row with a time) and of the two days before it, one green header per day that opens and
// closes its rows, reloaded by pulling the list down. A load that fails, or whose reply holds no list, is
// said (the network notice, or "load_failed") and keeps the rows shown; before any list has come, that text
// stays in place of the day sections until a list comes. It also uploads the school entry and leaving times
// picked on the attendance settings screen (made once, pushed from the right bar button), and its upload
// alerts close that screen's time picker. Opened from the drawer menu (with the drawer button) or
// pushed from the home screen (without). Loads and delayed work end when the screen disappears. Main thread;
// made with make().
//
//   auto screen = childcare::AttendanceVC::make(device, true);
//   drawer->setCenterViewControllerWithCloseAnimation(shell::NavViewController::withRootViewController(screen), true);
#pragma once

#include "childcare/attendance/AttendanceDays.h"
#include "childcare/attendance/AttendanceSettingVCDelegate.h"
#include "base/values/Error.h"
#include "core/records/Device.h"
#include "kit/refresh/RefreshTableDelegate.h"
#include "ui/alerts/AlertView.h"
#include "ui/scroll/TableViewDataSource.h"
#include "ui/controllers/ViewController.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace kit {
class LoadFailureLine;
class ProgressOverlay;
class RefreshTableHeaderView;
}
namespace ui {
class ImageView;
class TableView;
}

namespace childcare {

class AttendanceSettingVC;

class AttendanceVC : public ui::ViewController,
                     public ui::TableViewDataSource,
                     public ui::TableViewDelegate,
                     public kit::RefreshTableDelegate,
                     public AttendanceSettingVCDelegate,
                     public ui::AlertViewDelegate {
public:
    static constexpr double headerHeight = 50;
    static constexpr double rowHeight = 55;
    static constexpr int headerButtonTagBase = 100;
    static constexpr int pageSize = 45;
    static constexpr gfx::Color green { 0.52, 0.8, 0.05, 1.0 };

    static std::shared_ptr<AttendanceVC> make(std::shared_ptr<core::Device> deviceDetail, bool isShowRight);

    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    bool isShowRight() const { return m_isShowRight; }
    void setIsShowRight(bool show) { m_isShowRight = show; }

    const std::optional<std::string>& inTime() const { return m_inTime; }
    const std::optional<std::string>& outTime() const { return m_outTime; }
    // The day texts and rows of the three sections, as last sorted.
    const AttendanceDays::Days& days() const { return m_days; }
    bool isSectionOpen(int section) const { return m_open.at(static_cast<size_t>(section)); }
    bool isReloading() const { return m_reloading; }

    const std::shared_ptr<ui::TableView>& tableView();
    const std::shared_ptr<ui::ImageView>& emptyStateView();
    const std::shared_ptr<kit::RefreshTableHeaderView>& refreshHeaderView() const { return m_refreshHeaderView; }
    const std::shared_ptr<AttendanceSettingVC>& attendanceSettingVC();

    // The right bar button: pushes the settings screen with the device and the times.
    void clickRigthbtn();
    // A section header's button.
    void tapHeader(int buttonTag);
    // Asks for a load; 0 (a header's pull, or the first load) schedules it on the next turn.
    void beginToReloadData(int flag);
    // The reply of the list request: its rows sorted into the day sections and shown.
    void listArrived(const std::string& reply);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    int numberOfSectionsInTableView(ui::TableView&) override { return static_cast<int>(AttendanceDays::count); }
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, ui::IndexPath) override { return rowHeight; }
    std::optional<double> heightForHeaderInSection(ui::TableView&, int) override { return headerHeight; }
    std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView&, int section) override;
    void scrollViewDidScroll(ui::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool willDecelerate) override;

    void refreshTableDidTriggerRefresh(int which) override { beginToReloadData(which); }
    bool refreshTableDataSourceIsLoading(ui::View&) override { return m_reloading; }
    std::optional<base::Date> refreshTableDataSourceLastUpdated(ui::View&) override;

    void uploadInTime(const std::string& time) override;
    void uploadOutTime(const std::string& time) override;
    void alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex) override;

private:
    struct SchoolTimeUpload;

    void buildNavigationItems();
    void setupLeftMenuButton();
    void readSchoolTimes();
    void createHeaderView();
    void refreshView();
    void getData();
    // `error`: the call's failure, or null for a reply that is no list.
    void listFailed(const base::Error* error);
    void finishReloadingData();
    void showDays(const std::optional<AttendanceDays::Days>& days);
    void uploadSchoolTime(const SchoolTimeUpload& upload, const std::string& time);
    void schoolTimeAnswered(const SchoolTimeUpload& upload, const std::string& time, bool accepted);
    void showUploadAlert(const char* messageKey);

    std::shared_ptr<core::Device> m_deviceDetail;
    bool m_isShowRight { false };
    std::optional<std::string> m_inTime;
    std::optional<std::string> m_outTime;
    std::string m_YMD;
    AttendanceDays::Days m_days;
    std::array<bool, AttendanceDays::count> m_open { true, true, true };
    bool m_reloading { false };
    bool m_loadScheduled { false };
    // Whether a readable list has been shown (the empty state then tells the watch has no records).
    bool m_listShown { false };
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::ImageView> m_emptyStateView;
    std::shared_ptr<kit::LoadFailureLine> m_failureLine;
    std::shared_ptr<kit::RefreshTableHeaderView> m_refreshHeaderView;
    std::shared_ptr<kit::ProgressOverlay> m_hud;
    std::shared_ptr<AttendanceSettingVC> m_attendanceSettingVC;
};

} // namespace childcare
