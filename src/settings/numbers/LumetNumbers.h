// settings::LumetNumbers: the four numbers of the main watch model (father, mother, SOS, listen) as the
// number screen's panels and the home screen's family-number fan send them. Father, mother and SOS go in
// one "LumetSetManyPhoneConfig" request that carries the other numbers as the record holds them when the
// request goes; the listen number goes alone in "LumetSetListenNo". The service may refuse a number that
// clashes with the listen number with one of three texts, each with its own message; a call that gets no
// answer from the service at all says so with the network text "bad_netword" rather than "failure". Sending
// needs the device's serial number and its watch configuration: without them nothing is sent and "failure"
// is shown, so that the untouched numbers are never sent empty. Main thread.
//
//   settings::LumetNumbers::send(device, settings::LumetSlot::Mother, field->text());
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Value.h"
#include "core/records/Device.h"

#include <memory>
#include <optional>
#include <string>

namespace settings {

enum class LumetSlot { Father, Mother, SOS, Listen };

class LumetNumbers {
public:
    static constexpr const char* ManyPhoneMethod = "LumetSetManyPhoneConfig";
    static constexpr const char* ListenMethod = "LumetSetListenNo";
    static constexpr const char* ListenEqualsFather = "亲情号码1不能与监听号码相同，设置失败";
    static constexpr const char* ListenEqualsMother = "亲情号码2不能与监听号码相同，设置失败";
    static constexpr const char* ListenEqualsSOS = "监听号码不能与SOS号码相同，设置失败";

    static core::ConfigText& number(core::LumetDeviceConfig& config, LumetSlot slot);
    static const char* method(LumetSlot slot);
    // The request for the slot with the typed number, the other numbers as the record holds them now.
    static base::DictionaryRef body(const core::Device& device, LumetSlot slot, const std::string& typed);
    // The message of a reply's payload: "success" for the accepted text, the refusal's own message for the
    // three refusals, "failure" for anything else.
    static const char* messageKeyFor(const std::optional<base::Value>& payload);

    // Sends in the device's turn and shows the outcome; an accepted number is written into the record.
    static void send(std::shared_ptr<core::Device> device, LumetSlot slot, std::string typed);

private:
    // `unreachable`: the call got no answer from the service, which the network notice says.
    static void settle(const std::shared_ptr<core::Device>& device, LumetSlot slot, const std::string& typed,
        const std::optional<base::Value>& payload, bool unreachable = false);
};

} // namespace settings
