// The alarm-clock side of the attendance settings: the list fetched from "LumetGetalarmclock", its rows with
// their switches, the editor opened from a row, and "Lumet0SetAlarmclock", which carries the whole list
// after every change.
#include "childcare/attendance/AttendanceSettingVC.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "childcare/alarms/AlarmClockDetailViewController.h"
#include "childcare/alarms/AlarmClockTableViewCell.h"
#include "core/helpers/PromptAlert.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Switch.h"
#include "ui/scroll/TableView.h"

#include <algorithm>

namespace childcare {

namespace {

    void showPrompt(const char* messageKey, std::weak_ptr<ui::AlertViewDelegate> delegate)
    {
        auto alert = std::make_shared<ui::AlertView>(
            base::localized("prompt"), base::localized(messageKey), std::move(delegate), base::localized("done"));
        alert->show();
    }

    std::vector<core::LumetAlarmClockEntity> entriesOf(const core::LumetAlarmClock* clocks)
    {
        std::vector<core::LumetAlarmClockEntity> entries;
        if (clocks)
            for (const auto& entry : clocks->dataList)
                entries.push_back(*entry);
        return entries;
    }

    base::Value entryObject(const core::LumetAlarmClockEntity& entry, size_t index)
    {
        return base::Value(base::Dictionary::make({
            { "Index", static_cast<int64_t>(index + 1) },
            { "Mode", entry.isOpen != 0 ? 1 : 0 },
            { "H", AlarmClockTableViewCell::hourOf(entry) },
            { "S", AlarmClockTableViewCell::minuteOf(entry) },
        }));
    }

} // namespace

void AttendanceSettingVC::getDeivceClock()
{
    core::WebCall::post(
        "LumetGetalarmclock",
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->alarmClocksArrived(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error&) {
            if (auto self = weak.lock())
                showPrompt("get_alarm_failed", self);
        });
}

void AttendanceSettingVC::alarmClocksArrived(const std::string& reply)
{
    m_alarmClock = core::Tool::readAlarmClockFromJson(reply);
    m_confirmedClocks = entriesOf(m_alarmClock.get());
    m_clockView->reloadData();
}

std::shared_ptr<ui::TableViewCell> AttendanceSettingVC::clockCell(ui::TableView& table, ui::IndexPath path)
{
    auto cell = std::dynamic_pointer_cast<AlarmClockTableViewCell>(
        table.dequeueReusableCellWithIdentifier(AlarmClockTableViewCell::identifier));
    if (!cell)
        cell = std::make_shared<AlarmClockTableViewCell>();
    const auto& entry = *m_alarmClock->dataList.at(static_cast<size_t>(path.row));
    cell->clockSwitch()->removeActions(this);
    cell->clockSwitch()->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->switchValueChanged(sender);
        },
        ui::ControlEvent::ValueChanged, this);
    cell->show(entry);
    cell->clockSwitch()->setTag(path.row + clockSwitchTagBase);
    return cell;
}

void AttendanceSettingVC::switchValueChanged(ui::Control& sender)
{
    auto* control = dynamic_cast<ui::Switch*>(&sender);
    int index = sender.tag() - clockSwitchTagBase;
    if (!control || !m_alarmClock || index < 0 || index >= static_cast<int>(m_alarmClock->dataList.size()))
        return;
    m_alarmClock->dataList[static_cast<size_t>(index)]->isOpen = control->isOn() ? 1 : 0;
    setAlarmClock();
}

void AttendanceSettingVC::openEditor(ui::IndexPath path)
{
    auto navigation = navigationController();
    if (!navigation || !m_alarmClock || path.row < 0 || path.row >= static_cast<int>(m_alarmClock->dataList.size()))
        return;
    auto editor = AlarmClockDetailViewController::make();
    editor->setDelegate(ui::weakFrom(this));
    editor->setAlarmClockEntity(m_alarmClock->dataList[static_cast<size_t>(path.row)]);
    navigation->pushViewController(editor, true);
}

void AttendanceSettingVC::updateAlarmClockDetail()
{
    m_clockView->reloadData();
    setAlarmClock();
}

// Only the accepted-command text counts as the watch taking the list. A refusal or a failed call is said; once
// no save is left in flight, the list goes back to the last one the watch accepted, so that no switch or time
// shows a state it lacks. Going back earlier would drop a later change that the watch may still accept.
void AttendanceSettingVC::setAlarmClock()
{
    std::vector<base::Value> objects;
    auto sent = entriesOf(m_alarmClock.get());
    for (size_t i = 0; i < sent.size(); ++i)
        objects.push_back(entryObject(sent[i], i));
    auto clocks = base::Dictionary::make({
        { "_id", core::Singleton::shared().lastSerialnumber() },
        { "LumetAlarmClockEntity", base::Array::make(std::move(objects)) },
    });
    uint64_t save = ++m_alarmSavesSent;
    ++m_alarmSavesInFlight;
    core::WebCall::post(
        "Lumet0SetAlarmclock", base::Dictionary::make({ { "LumetAlarmClock", clocks } }),
        [weak = ui::weakFrom(this), save, sent](const std::string& reply) {
            if (auto self = weak.lock())
                self->alarmClocksAnswered(save, sent, core::WebCall::isCommandAccepted(reply));
        },
        [weak = ui::weakFrom(this), save](const base::Error&) {
            if (auto self = weak.lock())
                self->alarmClocksAnswered(save, {}, false);
        });
}

void AttendanceSettingVC::alarmClocksAnswered(
    uint64_t save, std::vector<core::LumetAlarmClockEntity> sent, bool accepted)
{
    --m_alarmSavesInFlight;
    // Replies may come out of order: the watch holds the list of the latest save it accepted.
    if (accepted && save > m_confirmedSave) {
        m_confirmedClocks = std::move(sent);
        m_confirmedSave = save;
    }
    if (!accepted) {
        m_alarmSaveFailed = true;
        core::showPromptAlert("failure");
    }
    if (m_alarmSavesInFlight > 0 || !m_alarmSaveFailed)
        return;
    m_alarmSaveFailed = false;
    if (m_alarmClock) {
        size_t count = std::min(m_alarmClock->dataList.size(), m_confirmedClocks.size());
        for (size_t i = 0; i < count; ++i)
            *m_alarmClock->dataList[i] = m_confirmedClocks[i];
    }
    m_clockView->reloadData();
}

} // namespace childcare
