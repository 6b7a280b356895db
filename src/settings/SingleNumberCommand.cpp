#include "settings/SingleNumberCommand.h"

#include "core/ServiceProtocol.h"
#include "core/Tool.h"
#include "core/WebCall.h"
#include "settings/NumberAlerts.h"
#include "settings/NumberDrafts.h"
#include "ui/Application.h"

namespace settings {

void SingleNumberCommand::send(const std::string& method, const base::DictionaryRef& body, Draft draft,
    std::function<void()> accepted, bool showsActivity)
{
    if (showsActivity)
        ui::Application::shared().setNetworkActivityIndicatorVisible(true);
    core::WebCall::post(
        method, body,
        [draft, accepted, showsActivity](const std::string& reply) {
            if (showsActivity)
                ui::Application::shared().setNetworkActivityIndicatorVisible(false);
            settle(draft, accepted, core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [draft, accepted, showsActivity](const base::Error&) {
            if (showsActivity)
                ui::Application::shared().setNetworkActivityIndicatorVisible(false);
            settle(draft, accepted, false);
        });
}

void SingleNumberCommand::settle(const Draft& draft, const std::function<void()>& accepted, bool wasAccepted)
{
    if (wasAccepted) {
        if (accepted)
            accepted();
        NumberDrafts::shared().forget(draft.serialNumber, draft.slot);
    } else {
        NumberDrafts::shared().keep(draft.serialNumber, draft.slot, draft.typed);
    }
    showNumberAlert(wasAccepted ? "success" : "failure");
}

} // namespace settings
