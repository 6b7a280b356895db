#include "settings/numbers/QuennNumbers.h"

#include "base/loop/MainThread.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/NumberSendQueue.h"

namespace settings {

namespace {

    base::DictionaryRef bodyFor(const core::Device& device, const QuennNumbers::Changes& changes)
    {
        auto body = base::MutableDictionary::make();
        body->setObject(base::Value(device.serialNumber.value_or("")), "Serialnumber");
        body->setObject(base::Value(QuennNumbers::DevicePassword), "Password");
        body->setObject(base::Value(QuennNumbers::Operation), "Opt");
        for (size_t i = 0; i < changes.size(); ++i) {
            base::Value value
                = changes[i] ? base::Value(*changes[i]) : QuennNumbers::number(*device.quennDeviceConfig, i).value();
            body->setObject(std::move(value), "Tel" + std::to_string(i + 1));
        }
        return body;
    }

} // namespace

core::ConfigText& QuennNumbers::number(core::SQuennConfig& config, size_t index)
{
    BASE_ASSERT_MAIN_THREAD();
    switch (index) {
    case 0:
        return config.sOSNum1;
    case 1:
        return config.sOSNum2;
    case 2:
        return config.sOSNum3;
    default:
        return config.sOSNum4;
    }
}

void QuennNumbers::send(std::shared_ptr<core::Device> device, Changes changes)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!device || !device->serialNumber || !device->quennDeviceConfig) {
        showNumberAlert("failure");
        return;
    }
    NumberSendQueue::shared().enqueue(*device->serialNumber, [device, changes](NumberSendQueue::Finished finished) {
        if (!device->quennDeviceConfig) {
            finished([=] { settle(device, changes, false); });
            return;
        }
        core::WebCall::post(
            Method, bodyFor(*device, changes),
            [device, changes, finished](const std::string& reply) {
                bool accepted = core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply));
                finished([=] { settle(device, changes, accepted); });
            },
            [device, changes, finished](const base::Error&) { finished([=] { settle(device, changes, false); }); });
    });
}

void QuennNumbers::settle(const std::shared_ptr<core::Device>& device, const Changes& changes, bool accepted)
{
    if (accepted && device->quennDeviceConfig) {
        for (size_t i = 0; i < changes.size(); ++i)
            if (changes[i])
                number(*device->quennDeviceConfig, i) = core::ConfigText(*changes[i]);
    }
    showNumberAlert(accepted ? "success" : "failure");
}

} // namespace settings
