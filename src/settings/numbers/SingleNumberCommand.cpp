#include "settings/numbers/SingleNumberCommand.h"

#include "base/loop/MainThread.h"
#include "core/service/ServiceProtocol.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"
#include "settings/numbers/NumberAlerts.h"

namespace settings {

void SingleNumberCommand::send(
    const std::string& method, const base::DictionaryRef& body, std::function<void()> accepted)
{
    BASE_ASSERT_MAIN_THREAD();
    // The panel has closed when the answer comes; an answer to a sign-in that has ended shows and writes nothing.
    core::WebCall::post(method, body, core::SignInSession::whileCurrent([accepted](const std::string& reply) {
        settle(accepted, core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)));
    }),
        core::SignInSession::whileCurrent([accepted](const base::Error&) { settle(accepted, false); }));
}

void SingleNumberCommand::settle(const std::function<void()>& accepted, bool wasAccepted)
{
    BASE_ASSERT_MAIN_THREAD();
    if (wasAccepted && accepted)
        accepted();
    showNumberAlert(wasAccepted ? "success" : "failure");
}

} // namespace settings
