#include "childcare/device/DeviceOnAndOf.h"

#include "base/text/Localization.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"

#include <cstdio>

namespace childcare {

namespace {

    constexpr size_t hours = 24;
    constexpr size_t minutes = 60;
    constexpr double pickerHeight = 200;

    void showAlert(std::optional<std::string> title, const char* messageKey,
        std::weak_ptr<ui::AlertViewDelegate> delegate = {}, int tag = 0)
    {
        auto alert = std::make_shared<ui::AlertView>(
            std::move(title), base::localized(messageKey), std::move(delegate), base::localized("done"));
        alert->setTag(tag);
        alert->show();
    }

    void showUntitledAlert(const char* messageKey, std::weak_ptr<ui::AlertViewDelegate> delegate = {}, int tag = 0)
    {
        showAlert(std::nullopt, messageKey, std::move(delegate), tag);
    }

    void select(ui::PickerView& picker, std::optional<int64_t> hour, std::optional<int64_t> minute)
    {
        picker.selectRow(static_cast<int>(hour.value_or(0)), 0, true);
        picker.selectRow(static_cast<int>(minute.value_or(0)), 1, true);
    }

} // namespace

std::shared_ptr<DeviceOnAndOf> DeviceOnAndOf::make(
    std::shared_ptr<DeviceOnAndOfEntity> schedule, std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<DeviceOnAndOf>();
    screen->setDeviceOnAndOfEntity(std::move(schedule));
    screen->setDeviceDetail(std::move(device));
    return screen;
}

const std::shared_ptr<ui::PickerView>& DeviceOnAndOf::bootTime()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_bootTime;
}

const std::shared_ptr<ui::PickerView>& DeviceOnAndOf::offTime()
{
    view();
    return m_offTime;
}

const std::shared_ptr<ui::Button>& DeviceOnAndOf::saveButton()
{
    view();
    return m_saveButton;
}

void DeviceOnAndOf::viewDidLoad()
{
    view()->setBackgroundColor(gfx::Color::white());
    setTitle(base::localized("sleep_timer"));
    m_bootTimeLabel = makeCaption(72, "boot_time");
    m_bootTime = makePicker(100, bootTimeTag);
    m_offTimeLabel = makeCaption(310, "off_time");
    m_offTime = makePicker(338, offTimeTag);

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

std::shared_ptr<ui::Label> DeviceOnAndOf::makeCaption(double y, const char* key)
{
    auto label = std::make_shared<ui::Label>(gfx::Rect { 20, y, view()->bounds().width() - 40, 24 });
    label->setFont(gfx::Font::boldSystem(16));
    label->setTextColor(gfx::Color::darkGray());
    label->setText(base::localized(key));
    view()->addSubview(label);
    return label;
}

std::shared_ptr<ui::PickerView> DeviceOnAndOf::makePicker(double y, int tag)
{
    auto picker = std::make_shared<ui::PickerView>(gfx::Rect { 0, y, view()->bounds().width(), pickerHeight });
    picker->setTag(tag);
    picker->setShowsSelectionIndicator(true);
    auto self = ui::sharedFrom(this);
    picker->setDataSource(self);
    picker->setDelegate(self);
    view()->addSubview(picker);
    return picker;
}

void DeviceOnAndOf::viewWillAppear(bool)
{
    if (!m_entity)
        return;
    select(*m_bootTime, m_entity->onHour, m_entity->onMin);
    select(*m_offTime, m_entity->offHour, m_entity->offMin);
}

size_t DeviceOnAndOf::numberOfComponentsInPickerView(ui::PickerView&) { return 2; }

size_t DeviceOnAndOf::pickerViewNumberOfRowsInComponent(ui::PickerView& picker, size_t component)
{
    if (picker.tag() != bootTimeTag && picker.tag() != offTimeTag)
        return 0;
    return component == 0 ? hours : component == 1 ? minutes : 0;
}

std::optional<std::string> DeviceOnAndOf::pickerViewTitleForRow(ui::PickerView&, size_t row, size_t)
{
    char title[24];
    std::snprintf(title, sizeof title, "%02zu", row);
    return title;
}

void DeviceOnAndOf::pickerViewDidSelectRow(ui::PickerView& picker, size_t row, size_t component)
{
    if (!m_entity || component > 1)
        return;
    auto value = static_cast<int64_t>(row);
    if (picker.tag() == bootTimeTag)
        (component == 0 ? m_entity->onHour : m_entity->onMin) = value;
    else if (picker.tag() == offTimeTag)
        (component == 0 ? m_entity->offHour : m_entity->offMin) = value;
}

void DeviceOnAndOf::saveAlarmClock()
{
    if (m_device && m_device->isSwitchedOff()) {
        showAlert(base::localized("prompt"), "device_off_operation_failed");
        return;
    }
    if (!m_entity || !m_entity->powerState) {
        showUntitledAlert("setting_failed");
        return;
    }
    send();
}

void DeviceOnAndOf::send()
{
    auto parameters = base::Dictionary::make({
        { "Serialnumber", core::Singleton::shared().lastSerialnumber() },
        { "flag", *m_entity->powerState },
        { "OpenHour", m_entity->onHour.value_or(0) },
        { "OpenMin", m_entity->onMin.value_or(0) },
        { "CloseHour", m_entity->offHour.value_or(0) },
        { "CloseMin", m_entity->offMin.value_or(0) },
    });
    m_saving = true;
    core::WebCall::post(
        "LumetSetSleepTime", parameters,
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->finished(core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            base::log("power schedule: save failed: " + error.description());
            if (auto self = weak.lock())
                self->finished(false);
        });
}

void DeviceOnAndOf::finished(bool accepted)
{
    m_saving = false;
    if (accepted)
        showUntitledAlert("setting_success", ui::weakFrom(this), savedAlertTag);
    else
        showUntitledAlert("setting_failed");
}

void DeviceOnAndOf::alertViewClickedButtonAtIndex(ui::AlertView& alert, int)
{
    if (alert.tag() != savedAlertTag)
        return;
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

} // namespace childcare
