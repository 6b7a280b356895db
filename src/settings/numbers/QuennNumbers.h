// settings::QuennNumbers: the four numbers of the Quenn model, which the service takes only all together in
// "QuennSetPhoneNumber" ("Tel1" to "Tel3" the family numbers, "Tel4" the listen number), with the device's
// fixed password and the operation "A". A send changes some of the four; the others go as the record holds
// them when the request goes, in the device's turn (NumberSendQueue). Only the accepted text counts: then the
// changed numbers are written into the record; anything else shows "failure" and leaves the record as the
// watch has it. Without the device's serial number or its Quenn configuration nothing is sent. Main thread.
//
//   settings::QuennNumbers::send(device, { std::nullopt, std::nullopt, std::nullopt, typedListen });
#pragma once

#include "core/records/Device.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace settings {

class QuennNumbers {
public:
    static constexpr const char* Method = "QuennSetPhoneNumber";
    static constexpr const char* DevicePassword = "580317";
    static constexpr const char* Operation = "A";

    // Number i + 1: the typed text, or nothing to send the stored one.
    using Changes = std::array<std::optional<std::string>, 4>;

    static core::ConfigText& number(core::SQuennConfig& config, size_t index);
    static void send(std::shared_ptr<core::Device> device, Changes changes);

private:
    static void settle(const std::shared_ptr<core::Device>& device, const Changes& changes, bool accepted);
};

} // namespace settings
