#include "settings/numbers/BtnModel.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "core/state/NotificationNames.h"
#include "core/state/Singleton.h"
#include "settings/numbers/LumetNumbers.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/NumberPanelParts.h"
#include "ui/controls/TextField.h"
#include "ui/view/Screen.h"

namespace settings {

std::shared_ptr<BtnModel> BtnModel::make(const std::string& imageName, std::string name)
{
    BASE_ASSERT_MAIN_THREAD();
    auto button = std::make_shared<BtnModel>(Private(), std::move(name));
    button->setImage(gfx::Image::named(imageName), ui::ControlState::Normal);
    // A loaded record replaces the one held; another device made current leaves none until its own loads.
    for (const char* name : { core::NotificationNames::PostDevice, core::NotificationNames::CurrentDeviceChanged }) {
        base::NotificationCenter::defaultCenter().addObserver(
            name, nullptr,
            [weak = std::weak_ptr<BtnModel>(button)](const base::Notification& notification) {
                if (auto self = weak.lock())
                    self->setDeviceDetail(std::static_pointer_cast<core::Device>(notification.object));
            },
            button.get());
    }
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::DeviceDetailNotLoaded, nullptr,
        [weak = std::weak_ptr<BtnModel>(button)](const base::Notification& notification) {
            auto self = weak.lock();
            const base::Value* reason = notification.userInfo
                ? notification.userInfo->objectForStringKey(core::NotificationNames::DeviceDetailNotLoadedReasonKey)
                : nullptr;
            if (self && reason && reason->isString())
                self->m_notLoadedReason = *reason->string();
        },
        button.get());
    button->addAction(
        [weak = std::weak_ptr<BtnModel>(button)](ui::Control&) {
            if (auto self = weak.lock())
                self->clickbtn();
        },
        ui::ControlEvent::TouchUpInside);
    return button;
}

BtnModel::BtnModel(Private, std::string name)
    : ui::Button(gfx::Rect {})
    , m_name(std::move(name))
    , m_deviceDetail(core::Singleton::shared().deviceDetail())
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Rect screen = ui::Screen::main().bounds();
    setFrame({ (screen.width() - side) / 2, screen.height() - 60, side, side });
    layer()->setCornerRadius(side / 2);
    setClipsToBounds(true);
}

void BtnModel::setDeviceDetail(std::shared_ptr<core::Device> device)
{
    m_deviceDetail = std::move(device);
    m_notLoadedReason = recordOnItsWayReason;
}

BtnModel::~BtnModel() { base::NotificationCenter::defaultCenter().removeObservers(this); }

std::optional<LumetSlot> BtnModel::slot() const
{
    if (m_name == base::localized("father"))
        return LumetSlot::Father;
    if (m_name == base::localized("mother"))
        return LumetSlot::Mother;
    if (m_name == "SOS")
        return LumetSlot::SOS;
    if (m_name == base::localized("listen"))
        return LumetSlot::Listen;
    return std::nullopt;
}

void BtnModel::clickbtn()
{
    std::string message = base::LocalizedFormat::format(base::localized("please_set_number"), { m_name });
    auto self = std::static_pointer_cast<BtnModel>(shared_from_this());
    auto alert = std::make_shared<ui::AlertView>(base::localized("prompt"), message,
        std::weak_ptr<ui::AlertViewDelegate>(self), base::localized("cancel"),
        std::vector<std::string> { base::localized("done") });
    alert->setAlertViewStyle(ui::AlertViewStyle::PlainTextInput);
    m_newText = alert->textFieldAtIndex(0);
    auto which = slot();
    const auto& config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig : nullptr;
    if (which && config)
        m_newText->setText(NumberPanelParts::shown(LumetNumbers::number(*config, *which)));
    alert->show();
}

void BtnModel::alertViewClickedButtonAtIndex(ui::AlertView& alert, int buttonIndex)
{
    if (buttonIndex != 1)
        return;
    auto field = alert.textFieldAtIndex(0);
    auto which = slot();
    if (!which || !field)
        return;
    // The current device's record has not loaded (or failed to): nothing is sent, least of all to the
    // device picked away from.
    if (!m_deviceDetail) {
        showNumberAlert(m_notLoadedReason);
        return;
    }
    LumetNumbers::send(m_deviceDetail, *which, field->text());
}

} // namespace settings
