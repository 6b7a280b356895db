#include "settings/numbers/LumetNumbers.h"

#include "base/loop/MainThread.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "settings/numbers/NumberAlerts.h"
#include "settings/numbers/NumberSendQueue.h"

#include <cstring>

namespace settings {

core::ConfigText& LumetNumbers::number(core::LumetDeviceConfig& config, LumetSlot slot)
{
    BASE_ASSERT_MAIN_THREAD();
    switch (slot) {
    case LumetSlot::Father:
        return config.numberForFather;
    case LumetSlot::Mother:
        return config.numberForMother;
    case LumetSlot::SOS:
        return config.numberForSOS;
    case LumetSlot::Listen:
        break;
    }
    return config.numberForListen;
}

const char* LumetNumbers::method(LumetSlot slot) { return slot == LumetSlot::Listen ? ListenMethod : ManyPhoneMethod; }

base::DictionaryRef LumetNumbers::body(const core::Device& device, LumetSlot slot, const std::string& typed)
{
    base::Value serial(device.serialNumber.value_or(""));
    if (slot == LumetSlot::Listen)
        return base::Dictionary::make({ { "Serialnumber", serial }, { "ListenNo", base::Value(typed) } });
    const core::LumetDeviceConfig& config = *device.lumetDeviceConfig;
    auto numberOf = [&](LumetSlot which, const core::ConfigText& stored) {
        return which == slot ? base::Value(typed) : stored.value();
    };
    return base::Dictionary::make({ { "Serialnumber", serial },
        { "ButtonNo1", numberOf(LumetSlot::Father, config.numberForFather) },
        { "ButtonNo2", numberOf(LumetSlot::Mother, config.numberForMother) },
        { "SOSNo", numberOf(LumetSlot::SOS, config.numberForSOS) }, { "ListenNo", config.numberForListen.value() } });
}

const char* LumetNumbers::messageKeyFor(const std::optional<base::Value>& payload)
{
    if (core::ServiceProtocol::isCommandAccepted(payload))
        return "success";
    const std::string* text = payload ? payload->string() : nullptr;
    if (!text)
        return "failure";
    if (*text == ListenEqualsFather)
        return "listen_no_equal_father";
    if (*text == ListenEqualsMother)
        return "listen_no_equal_mother";
    if (*text == ListenEqualsSOS)
        return "listen_no_equal_sos";
    return "failure";
}

void LumetNumbers::send(std::shared_ptr<core::Device> device, LumetSlot slot, std::string typed)
{
    if (!device || !device->serialNumber || !device->lumetDeviceConfig) {
        showNumberAlert("failure");
        return;
    }
    std::string serial = *device->serialNumber;
    NumberSendQueue::shared().enqueue(serial, [device, slot, typed](NumberSendQueue::Finished finished) {
        if (!device->lumetDeviceConfig) {
            finished([=] { settle(device, slot, typed, std::nullopt); });
            return;
        }
        core::WebCall::post(
            method(slot), body(*device, slot, typed),
            [device, slot, typed, finished](const std::string& reply) {
                finished(
                    [=, payload = core::Tool::getDeciveStyleFrom(reply)] { settle(device, slot, typed, payload); });
            },
            [device, slot, typed, finished](const base::Error& error) {
                bool unreachable = core::LoadFailureNotice::isNetworkFailure(error);
                finished([=] { settle(device, slot, typed, std::nullopt, unreachable); });
            });
    });
}

void LumetNumbers::settle(const std::shared_ptr<core::Device>& device, LumetSlot slot, const std::string& typed,
    const std::optional<base::Value>& payload, bool unreachable)
{
    const char* key = unreachable ? "bad_netword" : messageKeyFor(payload);
    bool accepted = std::strcmp(key, "success") == 0;
    if (accepted && device->lumetDeviceConfig)
        number(*device->lumetDeviceConfig, slot) = core::ConfigText(typed);
    showNumberAlert(key);
}

} // namespace settings
