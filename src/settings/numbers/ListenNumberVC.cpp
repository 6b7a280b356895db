#include "settings/numbers/ListenNumberVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "kit/modal/PanelReturn.h"
#include "settings/numbers/QuennNumbers.h"
#include "settings/numbers/SingleNumberCommand.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"

namespace settings {

namespace {

    constexpr int64_t morvikType = 4;

    bool isQuenn(int64_t type) { return type == 3 || type == 6; }

} // namespace

std::shared_ptr<ListenNumberVC> ListenNumberVC::make(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = std::make_shared<ListenNumberVC>();
    panel->setDeviceDetail(std::move(device));
    return panel;
}

const NumberPanelParts::SingleNumberPanel& ListenNumberVC::parts()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_parts;
}

void ListenNumberVC::viewDidLoad()
{
    m_parts = NumberPanelParts::installSingleNumberPanel(*view(),
        std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)), "listen_number", [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock())
                self->setListenPhoneNumber();
        });
}

int64_t ListenNumberVC::deviceType() const { return m_deviceDetail ? m_deviceDetail->deviceTypeID.value_or(0) : 0; }

void ListenNumberVC::viewWillAppear(bool)
{
    if (!m_deviceDetail)
        return;
    int64_t type = deviceType();
    if (type == morvikType) {
        m_parts.field->setText("");
    } else if (isQuenn(type)) {
        const auto& quenn = m_deviceDetail->quennDeviceConfig;
        m_parts.field->setText(quenn ? NumberPanelParts::shown(quenn->sOSNum4) : "");
    }
}

void ListenNumberVC::setListenPhoneNumber()
{
    std::string typed = m_parts.field->text();
    int64_t type = deviceType();
    if (type == morvikType)
        listenNumberForSorby(typed);
    else if (isQuenn(type))
        listenNumberForQuenn(typed);
    dismissView();
}

void ListenNumberVC::listenNumberForSorby(const std::string& typed)
{
    std::string serial = m_deviceDetail->serialNumber.value_or("");
    if (!m_deviceDetail->serialNumber) {
        SingleNumberCommand::settle({}, false);
        return;
    }
    // This method alone spells the key so.
    auto body = base::Dictionary::make({ { "Serialumber", base::Value(serial) }, { "PhoneNum", base::Value(typed) } });
    SingleNumberCommand::send(MorvikMethod, body, {});
}

void ListenNumberVC::listenNumberForQuenn(const std::string& typed)
{
    QuennNumbers::send(m_deviceDetail, { std::nullopt, std::nullopt, std::nullopt, typed });
}

void ListenNumberVC::dismissView() { NumberPanelParts::dismiss(); }

void ListenNumberVC::textFieldDidBeginEditing(ui::TextField& field) { m_lift.begin(*view(), field); }

bool ListenNumberVC::textFieldShouldReturn(ui::TextField& field)
{
    return kit::returnInPanel(field, { m_parts.field }, m_parts.done);
}

void ListenNumberVC::textFieldDidEndEditing(ui::TextField&) { m_lift.end(*view()); }

} // namespace settings
