#include "childcare/alarms/AlarmClockDetailViewController.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "childcare/alarms/AlarmClockTableViewCell.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/controls/Switch.h"

#include <algorithm>
#include <cstdio>

namespace childcare {

namespace {

    constexpr size_t hours = 24;
    constexpr size_t minutes = 60;

    // The wheel row of a value the service may have sent out of range.
    int wheelRow(int64_t value, size_t rows) { return static_cast<int>(std::clamp<int64_t>(value, 0, rows - 1)); }

} // namespace

std::shared_ptr<AlarmClockDetailViewController> AlarmClockDetailViewController::make()
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<AlarmClockDetailViewController>();
}

void AlarmClockDetailViewController::setAlarmClockEntity(std::shared_ptr<core::LumetAlarmClockEntity> entity)
{
    BASE_ASSERT_MAIN_THREAD();
    m_alarmClockEntity = std::move(entity);
    m_edited = m_alarmClockEntity ? *m_alarmClockEntity : core::LumetAlarmClockEntity {};
    // The time as the wheels will show it, so that a save sends what the user saw, never a value out of range.
    m_edited.h = base::Value(static_cast<int64_t>(wheelRow(AlarmClockTableViewCell::hourOf(m_edited), hours)));
    m_edited.m = base::Value(static_cast<int64_t>(wheelRow(AlarmClockTableViewCell::minuteOf(m_edited), minutes)));
}

const std::shared_ptr<ui::PickerView>& AlarmClockDetailViewController::pickerView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_pickerView;
}

const std::shared_ptr<ui::Switch>& AlarmClockDetailViewController::clockSwitch()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_clockSwitch;
}

const std::shared_ptr<ui::Label>& AlarmClockDetailViewController::settingAlarmTime()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_settingAlarmTime;
}

const std::shared_ptr<ui::Button>& AlarmClockDetailViewController::saveButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_saveButton;
}

void AlarmClockDetailViewController::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    double width = ui::Screen::main().bounds().width();
    view()->setBackgroundColor(gfx::Color::fromWhite(0.95, 1));

    m_settingAlarmTime = std::make_shared<ui::Label>(gfx::Rect { 20, 84, width - 110, 31 });
    m_settingAlarmTime->setText(base::localized("please_select_alarm"));
    view()->addSubview(m_settingAlarmTime);
    m_clockSwitch
        = std::make_shared<ui::Switch>(gfx::Rect { { width - 20 - ui::Switch::size.width, 84 }, ui::Switch::size });
    m_clockSwitch->setUserInteractionEnabled(false);
    view()->addSubview(m_clockSwitch);

    m_pickerView = std::make_shared<ui::PickerView>(gfx::Rect { 0, 130, width, ui::PickerView::defaultSize.height });
    m_pickerView->setShowsSelectionIndicator(true);
    auto self = ui::sharedFrom(this);
    m_pickerView->setDataSource(self);
    m_pickerView->setDelegate(self);
    view()->addSubview(m_pickerView);

    setTitle(base::localized("alarm_clock"));
    m_saveButton = std::make_shared<ui::Button>(gfx::Rect { 0, 0, 44, 40 });
    m_saveButton->setTitle(base::localized("save"), ui::ControlState::Normal);
    m_saveButton->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    m_saveButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->saveAlarmClock();
        },
        ui::ControlEvent::TouchUpInside);
    navigationItem()->setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(m_saveButton));
}

void AlarmClockDetailViewController::viewWillAppear(bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    m_clockSwitch->setOn(m_edited.isOpen != 0, animated);
    m_pickerView->selectRow(static_cast<int>(AlarmClockTableViewCell::hourOf(m_edited)), hourWheel, animated);
    m_pickerView->selectRow(static_cast<int>(AlarmClockTableViewCell::minuteOf(m_edited)), minuteWheel, animated);
}

size_t AlarmClockDetailViewController::pickerViewNumberOfRowsInComponent(ui::PickerView&, size_t component)
{
    BASE_ASSERT_MAIN_THREAD();
    return component == hourWheel ? hours : minutes;
}

std::optional<std::string> AlarmClockDetailViewController::pickerViewTitleForRow(ui::PickerView&, size_t row, size_t)
{
    BASE_ASSERT_MAIN_THREAD();
    char title[24];
    std::snprintf(title, sizeof title, "%02zu", row);
    return title;
}

void AlarmClockDetailViewController::pickerViewDidSelectRow(ui::PickerView&, size_t row, size_t component)
{
    BASE_ASSERT_MAIN_THREAD();
    base::Value value(static_cast<int64_t>(row));
    if (component == hourWheel)
        m_edited.h = value;
    else
        m_edited.m = value;
}

void AlarmClockDetailViewController::saveAlarmClock()
{
    BASE_ASSERT_MAIN_THREAD();
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    if (m_alarmClockEntity) {
        m_alarmClockEntity->h = m_edited.h;
        m_alarmClockEntity->m = m_edited.m;
    }
    delegate->updateAlarmClockDetail();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace childcare
