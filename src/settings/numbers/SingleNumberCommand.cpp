#include "settings/numbers/SingleNumberCommand.h"

#include "core/service/ServiceProtocol.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/NumberDrafts.h"

namespace settings {

void SingleNumberCommand::send(
    const std::string& method, const base::DictionaryRef& body, Draft draft, std::function<void()> accepted)
{
    core::WebCall::post(
        method, body,
        [draft, accepted](const std::string& reply) {
            settle(draft, accepted, core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [draft, accepted](const base::Error&) { settle(draft, accepted, false); });
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
