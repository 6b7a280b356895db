#include "childcare/challenge/ChallengeEnding.h"

#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"

namespace childcare {

void ChallengeEnding::send(
    std::shared_ptr<core::Device> device, std::function<void()> ended, std::function<void()> failed)
{
    BASE_ASSERT_MAIN_THREAD();
    // The record is the signed-in account's: an answer after its sign-in ended marks nothing.
    core::WebCall::post(Method,
        base::Dictionary::make({ { "Serialnumber", core::Singleton::shared().lastSerialnumber() } }),
        core::SignInSession::whileCurrent([device, ended, failed](const std::string& reply) {
            if (!core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply))) {
                base::log("challenge: the server did not end the challenge");
                if (failed)
                    failed();
                return;
            }
            markEnded(device.get());
            if (ended)
                ended();
        }),
        core::SignInSession::whileCurrent([failed](const base::Error& error) {
            base::log("challenge: ending failed: " + error.localizedDescription());
            if (failed)
                failed();
        }));
}

void ChallengeEnding::markEnded(core::Device* device)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!device || !device->lumetDeviceConfig)
        return;
    auto& config = *device->lumetDeviceConfig;
    config.IsPerdometerFinish = true;
    config.IsPerdometerRunning = false;
    config.TargetStepCount = 0;
}

} // namespace childcare
