// childcare::AlarmClockDetailViewController: the editor of one alarm clock: an hours wheel (00-23) and a
// minutes wheel (00-59) opened on the alarm's time, and a save button. The wheels change a copy of the
// alarm; "save" writes the copy into the alarm and tells the delegate (which shows and sends the list),
// then closes the editor. Leaving by the back button keeps nothing; without a delegate "save" does nothing.
// The on/off switch only shows the alarm's state: it is switched from the list. Main thread; made with
// make().
//
//   auto editor = childcare::AlarmClockDetailViewController::make();
//   editor->setDelegate(weak_from_this()); editor->setAlarmClockEntity(alarm);
//   navigationController()->pushViewController(editor, true);
#pragma once

#include "childcare/alarms/AlarmClockDetailDelegate.h"
#include "core/records/LumetAlarmClockEntity.h"
#include "ui/controls/PickerView.h"
#include "ui/controllers/ViewController.h"

#include <memory>

namespace ui {
class Button;
class Label;
class Switch;
}

namespace childcare {

class AlarmClockDetailViewController : public ui::ViewController,
                                       public ui::PickerViewDataSource,
                                       public ui::PickerViewDelegate {
public:
    static constexpr size_t hourWheel = 0;
    static constexpr size_t minuteWheel = 1;

    static std::shared_ptr<AlarmClockDetailViewController> make();

    const std::shared_ptr<core::LumetAlarmClockEntity>& alarmClockEntity() const { return m_alarmClockEntity; }
    void setAlarmClockEntity(std::shared_ptr<core::LumetAlarmClockEntity> entity);
    void setDelegate(std::weak_ptr<AlarmClockDetailDelegate> delegate) { m_delegate = std::move(delegate); }
    // The time being edited, not yet saved.
    const core::LumetAlarmClockEntity& editedEntity() const { return m_edited; }

    const std::shared_ptr<ui::PickerView>& pickerView();
    const std::shared_ptr<ui::Switch>& clockSwitch();
    const std::shared_ptr<ui::Label>& settingAlarmTime();
    const std::shared_ptr<ui::Button>& saveButton();

    void saveAlarmClock();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    size_t numberOfComponentsInPickerView(ui::PickerView&) override { return 2; }
    size_t pickerViewNumberOfRowsInComponent(ui::PickerView&, size_t component) override;
    std::optional<std::string> pickerViewTitleForRow(ui::PickerView&, size_t row, size_t component) override;
    void pickerViewDidSelectRow(ui::PickerView&, size_t row, size_t component) override;

private:
    std::shared_ptr<core::LumetAlarmClockEntity> m_alarmClockEntity;
    core::LumetAlarmClockEntity m_edited;
    std::weak_ptr<AlarmClockDetailDelegate> m_delegate;
    std::shared_ptr<ui::PickerView> m_pickerView;
    std::shared_ptr<ui::Switch> m_clockSwitch;
    std::shared_ptr<ui::Label> m_settingAlarmTime;
    std::shared_ptr<ui::Button> m_saveButton;
};

} // namespace childcare
