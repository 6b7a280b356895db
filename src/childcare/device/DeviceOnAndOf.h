// childcare::DeviceOnAndOf: the power schedule screen, pushed by the settings centre from its sleep-timer
// row. Two pickers of hours and minutes (power-on, tag 1; power-off, tag 2) write each choice into the
// settings centre's schedule object at once, saved or not. "save" posts "LumetSetSleepTime" with the
// schedule; a switched-off device is refused on the phone, and a schedule without a power state is not
// sent (it would switch the schedule on or off unasked). The accepted text shows "setting_success", whose
// button pops the screen; anything else shows "setting_failed" and keeps the screen and its times. Replies
// that come after the screen has gone are dropped. Main thread; made with make().
//
//   auto screen = childcare::DeviceOnAndOf::make(schedule, device);
//   navigationController()->pushViewController(screen, true);
#pragma once

#include "childcare/device/DeviceOnAndOfEntity.h"
#include "core/records/Device.h"
#include "ui/alerts/AlertView.h"
#include "ui/controls/PickerView.h"
#include "ui/controllers/ViewController.h"

#include <memory>

namespace ui {
class Button;
class Label;
}

namespace childcare {

class DeviceOnAndOf : public ui::ViewController,
                      public ui::PickerViewDataSource,
                      public ui::PickerViewDelegate,
                      public ui::AlertViewDelegate {
public:
    static constexpr int bootTimeTag = 1;
    static constexpr int offTimeTag = 2;
    static constexpr int savedAlertTag = 301;

    static std::shared_ptr<DeviceOnAndOf> make(
        std::shared_ptr<DeviceOnAndOfEntity> schedule, std::shared_ptr<core::Device> device);

    const std::shared_ptr<DeviceOnAndOfEntity>& deviceOnAndOfEntity() const { return m_entity; }
    void setDeviceOnAndOfEntity(std::shared_ptr<DeviceOnAndOfEntity> entity) { m_entity = std::move(entity); }
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_device; }
    void setDeviceDetail(std::shared_ptr<core::Device> device) { m_device = std::move(device); }

    // The save button's action.
    void saveAlarmClock();
    bool isSaving() const { return m_saving; }

    const std::shared_ptr<ui::PickerView>& bootTime();
    const std::shared_ptr<ui::PickerView>& offTime();
    const std::shared_ptr<ui::Button>& saveButton();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    size_t numberOfComponentsInPickerView(ui::PickerView&) override;
    size_t pickerViewNumberOfRowsInComponent(ui::PickerView& picker, size_t component) override;
    std::optional<std::string> pickerViewTitleForRow(ui::PickerView& picker, size_t row, size_t component) override;
    void pickerViewDidSelectRow(ui::PickerView& picker, size_t row, size_t component) override;
    void alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

private:
    std::shared_ptr<ui::PickerView> makePicker(double y, int tag);
    std::shared_ptr<ui::Label> makeCaption(double y, const char* key);
    void send();
    void finished(bool accepted);

    std::shared_ptr<DeviceOnAndOfEntity> m_entity;
    std::shared_ptr<core::Device> m_device;
    std::shared_ptr<ui::PickerView> m_bootTime;
    std::shared_ptr<ui::PickerView> m_offTime;
    std::shared_ptr<ui::Label> m_bootTimeLabel;
    std::shared_ptr<ui::Label> m_offTimeLabel;
    std::shared_ptr<ui::Button> m_saveButton;
    bool m_saving { false };
};

} // namespace childcare
