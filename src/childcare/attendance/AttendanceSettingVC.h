// childcare::AttendanceSettingVC: the current watch's attendance settings: the school entry and leaving
// times (picked in a panel of the modal presenter and handed to the delegate, which uploads them), the
// attendance notice and RFID switches (sent at once; the shared device record changes only when the
// watch's service accepts), and the alarm clocks in a folder under the last row. The alarm list is fetched
// once, when the view is first built; switching an alarm or saving the editor sends the whole list, and a
// list the watch's service does not accept is said; once no save is in flight the list is put back as the
// watch last accepted it. Made once by the attendance screen and pushed again on each opening. Main thread;
// made with make().
//
//   auto settings = childcare::AttendanceSettingVC::make();
//   settings->setDelegate(weak_from_this());
//   settings->setDeviceDetail(device); settings->setInTime(in); settings->setOutTime(out);
#pragma once

#include "childcare/alarms/AlarmClockDetailDelegate.h"
#include "childcare/attendance/AttendanceSettingVCDelegate.h"
#include "core/records/Device.h"
#include "core/records/LumetAlarmClock.h"
#include "kit/folder/FolderTableViewDelegate.h"
#include "ui/alerts/AlertView.h"
#include "ui/scroll/TableViewDataSource.h"
#include "ui/controllers/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kit {
class FolderTableView;
}
namespace ui {
class Control;
class DatePicker;
class Switch;
class TableView;
}

namespace childcare {

class AttendanceSettingVC : public ui::ViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public kit::FolderTableViewDelegate,
                            public ui::AlertViewDelegate,
                            public AlarmClockDetailDelegate {
public:
    static constexpr int settingsTableTag = 88;
    static constexpr int noticeSwitchTag = 89;
    static constexpr int rfidSwitchTag = 90;
    static constexpr int clockSwitchTagBase = 100;
    static constexpr double clockRowHeight = 45;
    enum Section { EnterTime = 0, LeaveTime, Notice, RFID, AlarmClocks, SectionCount };

    static std::shared_ptr<AttendanceSettingVC> make();

    void setDelegate(std::weak_ptr<AttendanceSettingVCDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_deviceDetail = std::move(device); }
    const std::optional<std::string>& inTime() const { return m_inTime; }
    void setInTime(std::optional<std::string> time) { m_inTime = std::move(time); }
    const std::optional<std::string>& outTime() const { return m_outTime; }
    void setOutTime(std::optional<std::string> time) { m_outTime = std::move(time); }
    const std::shared_ptr<core::LumetAlarmClock>& alarmClock() const { return m_alarmClock; }

    const std::shared_ptr<kit::FolderTableView>& tableView();
    const std::shared_ptr<ui::TableView>& clockView();
    // The picker panel and its date picker.
    const std::shared_ptr<ui::View>& dateView();
    const std::shared_ptr<ui::DatePicker>& picker();
    bool isEditingInTime() const { return m_isInTime; }
    // The switches as last drawn.
    const std::shared_ptr<ui::Switch>& noticeSwitch() const { return m_switchBtn; }
    const std::shared_ptr<ui::Switch>& rfidSwitch() const { return m_switchRFID; }

    void cancelButtonPressed();
    void doneButtonPressed();
    void changeSwitchValue(ui::Control& sender);
    void switchValueChanged(ui::Control& sender);

    void viewDidLoad() override;

    int numberOfSectionsInTableView(ui::TableView& table) override;
    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForHeaderInSection(ui::TableView&, int) override { return 5; }
    void didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;

    void alertViewClickedButtonAtIndex(ui::AlertView&, int buttonIndex) override;
    void updateAlarmClockDetail() override;

private:
    static bool isSettingsTable(const ui::TableView& table);

    void addDatePikerView();
    std::shared_ptr<ui::TableViewCell> settingsCell(ui::IndexPath path);
    std::shared_ptr<ui::Switch> makeSwitch(int tag, bool on);
    void showPicker(bool isInTime);
    void openAlarmClocks(ui::IndexPath path);
    void sendSwitch(int tag, bool on);
    void switchAnswered(int tag, bool on, bool accepted);

    void getDeivceClock();
    void alarmClocksArrived(const std::string& reply);
    std::shared_ptr<ui::TableViewCell> clockCell(ui::TableView& table, ui::IndexPath path);
    void openEditor(ui::IndexPath path);
    void setAlarmClock();
    // `save` numbers the save in sending order; `sent` is its list.
    void alarmClocksAnswered(uint64_t save, std::vector<core::LumetAlarmClockEntity> sent, bool accepted);

    std::weak_ptr<AttendanceSettingVCDelegate> m_delegate;
    std::shared_ptr<core::Device> m_deviceDetail;
    std::optional<std::string> m_inTime;
    std::optional<std::string> m_outTime;
    bool m_isInTime { false };
    std::shared_ptr<kit::FolderTableView> m_tableView;
    std::shared_ptr<ui::TableView> m_clockView;
    std::shared_ptr<ui::View> m_dateView;
    std::shared_ptr<ui::DatePicker> m_picker;
    std::shared_ptr<ui::Switch> m_switchBtn;
    std::shared_ptr<ui::Switch> m_switchRFID;
    std::shared_ptr<core::LumetAlarmClock> m_alarmClock;
    // The alarms as the watch last confirmed them: fetched, or sent and accepted (by save m_confirmedSave, 0
    // for the fetched list).
    std::vector<core::LumetAlarmClockEntity> m_confirmedClocks;
    uint64_t m_confirmedSave { 0 };
    uint64_t m_alarmSavesSent { 0 };
    int m_alarmSavesInFlight { 0 };
    // Whether a save failed since the last time no save was in flight.
    bool m_alarmSaveFailed { false };
};

} // namespace childcare
