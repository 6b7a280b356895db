#include "childcare/attendance/AttendanceSettingVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "childcare/attendance/AttendanceSchoolTime.h"
#include "childcare/support/TimeOfDay.h"
#include "core/helpers/Helper.h"
#include "kit/folder/FolderTableView.h"
#include "kit/modal/ModalPresenter.h"
#include "ui/controls/Button.h"
#include "ui/controls/DatePicker.h"
#include "ui/controls/Label.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableViewCell.h"
#include "ui/view/Screen.h"

namespace childcare {

namespace {

    constexpr double panelWidth = 300;
    constexpr double panelHeight = 244;
    constexpr double toolbarHeight = 44;
    // The alarm list opened under the last row shows up to four alarms at a time.
    constexpr double clockViewHeight = 4 * AttendanceSettingVC::clockRowHeight + 5;

    std::optional<std::string> storedTime(const char* key)
    {
        auto value = core::Helper::readSettingsByKey(key);
        const std::string* text = value ? value->string() : nullptr;
        return text ? std::optional<std::string>(*text) : std::nullopt;
    }

    std::shared_ptr<ui::Button> toolbarButton(const gfx::Rect& frame, const char* titleKey)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
        button->setTitleColor(gfx::Color::rgb(0.0, 0.48, 1.0), ui::ControlState::Normal);
        return button;
    }

} // namespace

std::shared_ptr<AttendanceSettingVC> AttendanceSettingVC::make() { return std::make_shared<AttendanceSettingVC>(); }

const std::shared_ptr<kit::FolderTableView>& AttendanceSettingVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

const std::shared_ptr<ui::TableView>& AttendanceSettingVC::clockView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_clockView;
}

const std::shared_ptr<ui::View>& AttendanceSettingVC::dateView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_dateView;
}

const std::shared_ptr<ui::DatePicker>& AttendanceSettingVC::picker()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_picker;
}

bool AttendanceSettingVC::isSettingsTable(const ui::TableView& table) { return table.tag() == settingsTableTag; }

void AttendanceSettingVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    setTitle(base::localized("attendance_setting"));
    gfx::Rect screen = ui::Screen::main().bounds();
    // The screen's view runs under the navigation bar; the table starts below it.
    m_tableView = std::make_shared<kit::FolderTableView>(
        gfx::Rect { 0, 64, screen.width(), screen.height() - 64 }, ui::TableViewStyle::Grouped);
    m_tableView->setTag(settingsTableTag);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    m_tableView->setFolderDelegate(self);
    view()->addSubview(m_tableView);

    addDatePikerView();

    m_clockView = std::make_shared<ui::TableView>(gfx::Rect { 0, 0, screen.width(), clockViewHeight });
    m_clockView->setDataSource(self);
    m_clockView->setDelegate(self);
    m_clockView->setRowHeight(clockRowHeight);

    m_inTime = storedTime(AttendanceSchoolTime::InTimeKey);
    m_outTime = storedTime(AttendanceSchoolTime::OutTimeKey);
    getDeivceClock();
}

void AttendanceSettingVC::addDatePikerView()
{
    double screenHeight = ui::Screen::main().bounds().height();
    m_dateView = std::make_shared<ui::View>(gfx::Rect { 10, screenHeight - 64 - panelHeight, panelWidth, panelHeight });
    m_dateView->setBackgroundColor(gfx::Color::white());
    m_dateView->setHidden(true);
    view()->addSubview(m_dateView);

    auto toolbar = std::make_shared<ui::View>(gfx::Rect { 0, 0, panelWidth, toolbarHeight });
    toolbar->setBackgroundColor(gfx::Color::lightGray());
    auto cancel = toolbarButton({ 4, 0, 70, toolbarHeight }, "cancel");
    cancel->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->cancelButtonPressed();
        },
        ui::ControlEvent::TouchUpInside);
    toolbar->addSubview(cancel);
    auto prompt = std::make_shared<ui::Label>(gfx::Rect { 74, 0, panelWidth - 148, toolbarHeight });
    prompt->setText(base::localized("please_select_time"));
    prompt->setTextColor(gfx::Color::black());
    prompt->setTextAlignment(gfx::TextAlignment::Center);
    toolbar->addSubview(prompt);
    auto done = toolbarButton({ panelWidth - 74, 0, 70, toolbarHeight }, "done");
    done->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->doneButtonPressed();
        },
        ui::ControlEvent::TouchUpInside);
    toolbar->addSubview(done);
    m_dateView->addSubview(toolbar);

    m_picker
        = std::make_shared<ui::DatePicker>(gfx::Rect { 0, toolbarHeight, panelWidth, panelHeight - toolbarHeight });
    m_picker->setDatePickerMode(ui::DatePickerMode::CountDownTimer);
    m_dateView->addSubview(m_picker);
}

int AttendanceSettingVC::numberOfSectionsInTableView(ui::TableView& table)
{
    BASE_ASSERT_MAIN_THREAD();
    return isSettingsTable(table) ? SectionCount : 1;
}

int AttendanceSettingVC::numberOfRowsInSection(ui::TableView& table, int)
{
    BASE_ASSERT_MAIN_THREAD();
    if (isSettingsTable(table))
        return 1;
    return m_alarmClock ? static_cast<int>(m_alarmClock->dataList.size()) : 0;
}

std::optional<double> AttendanceSettingVC::heightForRowAtIndexPath(ui::TableView& table, ui::IndexPath)
{
    BASE_ASSERT_MAIN_THREAD();
    return isSettingsTable(table) ? std::nullopt : std::optional<double>(clockRowHeight);
}

std::shared_ptr<ui::TableViewCell> AttendanceSettingVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    return isSettingsTable(table) ? settingsCell(path) : clockCell(table, path);
}

std::shared_ptr<ui::TableViewCell> AttendanceSettingVC::settingsCell(ui::IndexPath path)
{
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value1, "cell");
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->textLabel()->setFont(gfx::Font::system(14));
    cell->textLabel()->setTextColor(gfx::Color::gray());
    const core::LumetDeviceConfig* config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig.get() : nullptr;
    switch (path.section) {
    case EnterTime:
        cell->textLabel()->setText(base::localized("setting_enter_time"));
        cell->detailTextLabel()->setText(m_inTime.value_or(AttendanceSchoolTime::DefaultInTime));
        break;
    case LeaveTime:
        cell->textLabel()->setText(base::localized("setting_leave_time"));
        cell->detailTextLabel()->setText(m_outTime.value_or(AttendanceSchoolTime::DefaultOutTime));
        break;
    case Notice:
        cell->textLabel()->setText(base::localized("attendance_noti"));
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        m_switchBtn = makeSwitch(noticeSwitchTag, config && config->cowNoti == core::ConfigText("01"));
        cell->setAccessoryView(m_switchBtn);
        break;
    case RFID:
        cell->textLabel()->setText(base::localized("attendance_function_switch"));
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        m_switchRFID = makeSwitch(rfidSwitchTag, config && config->rfidState == core::ConfigText("true"));
        cell->setAccessoryView(m_switchRFID);
        break;
    default:
        cell->imageView()->setImage(gfx::Image::named("setting_alock.png"));
        cell->detailTextLabel()->setText(base::localized("setting_clock"));
        break;
    }
    return cell;
}

std::shared_ptr<ui::Switch> AttendanceSettingVC::makeSwitch(int tag, bool on)
{
    auto control = std::make_shared<ui::Switch>(gfx::Rect { { 0, 0 }, ui::Switch::size });
    control->setTag(tag);
    control->setOn(on);
    control->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->changeSwitchValue(sender);
        },
        ui::ControlEvent::ValueChanged);
    return control;
}

void AttendanceSettingVC::didSelectRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    // What a row opens (the time panel, the alarm list's folder, an alarm's editor) names what it edits; the row
    // is left as it was, whatever closes it.
    table.deselectRowAtIndexPath(path, true);
    if (!isSettingsTable(table)) {
        openEditor(path);
        return;
    }
    switch (path.section) {
    case EnterTime:
    case LeaveTime:
        showPicker(path.section == EnterTime);
        break;
    case AlarmClocks:
        openAlarmClocks(path);
        break;
    default:
        break;
    }
}

void AttendanceSettingVC::showPicker(bool isInTime)
{
    // The wheels start at the time the row shows.
    std::string shown = isInTime ? m_inTime.value_or(AttendanceSchoolTime::DefaultInTime)
                                 : m_outTime.value_or(AttendanceSchoolTime::DefaultOutTime);
    m_picker->setCountDownDuration(TimeOfDay::minutes(shown).value_or(0) * 60.0);
    kit::ModalPresenter::sharedInstance()->showWithContentView(m_dateView, true);
    m_isInTime = isInTime;
    m_dateView->setHidden(false);
}

void AttendanceSettingVC::cancelButtonPressed() { kit::ModalPresenter::sharedInstance()->hideAnimated(true); }

// The picked time goes to the delegate, which uploads it; the row shows it at once and the panel stays open
// until the user dismisses the upload's alert.
void AttendanceSettingVC::doneButtonPressed()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string time = AttendanceSchoolTime::pickedText(m_picker->hour(), m_picker->minute());
    auto delegate = m_delegate.lock();
    if (m_isInTime) {
        m_inTime = time;
        if (delegate)
            delegate->uploadInTime(time);
    } else {
        m_outTime = time;
        if (delegate)
            delegate->uploadOutTime(time);
    }
    m_tableView->reloadData();
}

void AttendanceSettingVC::openAlarmClocks(ui::IndexPath path)
{
    m_tableView->setScrollEnabled(false);
    m_tableView->openFolderAtIndexPath(path, m_clockView, {}, {}, [weak = ui::weakFrom(this)] {
        if (auto self = weak.lock())
            self->m_tableView->setScrollEnabled(true);
    });
}

void AttendanceSettingVC::alertViewClickedButtonAtIndex(ui::AlertView&, int)
{
    BASE_ASSERT_MAIN_THREAD();
    kit::ModalPresenter::sharedInstance()->hideAnimated(true);
}

} // namespace childcare
