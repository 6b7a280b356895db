#include "settings/numbers/SingleNumberCommand.h"

#include "base/loop/MainThread.h"
#include "core/service/ServiceProtocol.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "settings/numbers/NumberAlerts.h"

namespace settings {

void SingleNumberCommand::send(
    const std::string& method, const base::DictionaryRef& body, std::function<void()> accepted)
{
    BASE_ASSERT_MAIN_THREAD();
    core::WebCall::post(
        method, body,
        [accepted](const std::string& reply) {
            settle(accepted, core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
        },
        [accepted](const base::Error&) { settle(accepted, false); });
}

void SingleNumberCommand::settle(const std::function<void()>& accepted, bool wasAccepted)
{
    BASE_ASSERT_MAIN_THREAD();
    if (wasAccepted && accepted)
        accepted();
    showNumberAlert(wasAccepted ? "success" : "failure");
}

} // namespace settings
