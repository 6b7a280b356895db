#include "settings/numbers/CenterNumberVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "core/readers/Tool.h"
#include "core/service/ReplyFields.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"
#include "kit/modal/PanelReturn.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/SingleNumberCommand.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"

namespace settings {

namespace {

    constexpr int64_t morvikType = 4;
    constexpr int64_t quennType = 3;

    // The service's own words about the centre number: a text that is not blank, else nothing.
    std::optional<std::string> serverText(const std::string& reply)
    {
        auto payload = core::Tool::getDeciveStyleFrom(reply);
        const std::string* text = payload ? payload->string() : nullptr;
        if (!text || text->find_first_not_of(" \t\r\n") == std::string::npos)
            return std::nullopt;
        return *text;
    }

} // namespace

std::shared_ptr<CenterNumberVC> CenterNumberVC::make(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = std::make_shared<CenterNumberVC>();
    panel->setDeviceDetail(std::move(device));
    return panel;
}

const NumberPanelParts::SingleNumberPanel& CenterNumberVC::parts()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_parts;
}

void CenterNumberVC::viewDidLoad()
{
    m_parts = NumberPanelParts::installSingleNumberPanel(*view(),
        std::weak_ptr<ui::TextFieldDelegate>(ui::sharedFrom(this)), "center_number", [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock())
                self->setCenterNumberForQuenn();
        });
}

void CenterNumberVC::setCenterNumberForQuenn()
{
    std::string typed = m_parts.field->text();
    int64_t type = m_deviceDetail ? m_deviceDetail->deviceTypeID.value_or(0) : 0;
    if (type == morvikType)
        doCenterNumberForSorby(typed);
    else if (type == quennType)
        doCenterNumberForQuenn(typed);
    dismissView();
}

void CenterNumberVC::doCenterNumberForSorby(const std::string& typed)
{
    std::string serial = m_deviceDetail->serialNumber.value_or("");
    auto body = base::Dictionary::make({ { "Serialnumber", base::Value(serial) }, { "PhoneNum", base::Value(typed) } });
    SingleNumberCommand::send(MorvikMethod, body, {});
}

void CenterNumberVC::doCenterNumberForQuenn(const std::string& typed)
{
    std::string serial = m_deviceDetail->serialNumber.value_or("");
    auto body
        = base::Dictionary::make({ { "Serialnumber", base::Value(serial) }, { "CenterNum", base::Value(typed) } });
    // The service words the outcome itself; without a readable text the call failed.
    auto settle = [](std::optional<std::string> text) {
        if (text)
            showNumberServerText(*text);
        else
            showNumberAlert("failure");
    };
    core::WebCall::post(QuennMethod, body,
        core::SignInSession::whileCurrent([settle](const std::string& reply) { settle(serverText(reply)); }),
        core::SignInSession::whileCurrent([settle](const base::Error&) { settle(std::nullopt); }));
}

void CenterNumberVC::dismissView() { NumberPanelParts::dismiss(); }

void CenterNumberVC::textFieldDidBeginEditing(ui::TextField& field) { m_lift.begin(*view(), field); }

bool CenterNumberVC::textFieldShouldReturn(ui::TextField& field)
{
    return kit::returnInPanel(field, { m_parts.field }, m_parts.done);
}

void CenterNumberVC::textFieldDidEndEditing(ui::TextField&) { m_lift.end(*view()); }

} // namespace settings
