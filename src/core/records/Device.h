// core::Device: the detail record of one device, read from the "GetDeviceDetial" reply: its serial number,
// name, type and state, and one configuration per device model (each absent when the reply holds null). The
// record is shared: the home screen hands the same object to every screen, which change its configurations
// in place. Main thread.
//
//   auto device = core::Tool::readDeviceDetailFromJson(operation->responseString());
//   if (device && device->isSwitchedOff()) showAlert("prompt", "device_off_operation_failed");
#pragma once

#include "core/records/LumetDeviceConfig.h"
#include "core/records/ParvoDeviceConfig.h"
#include "core/records/SQuennConfig.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace core {

struct Device {
    // Device state 1: the device is switched off.
    static constexpr int64_t SwitchedOff = 1;

    std::optional<std::string> serialNumber;
    std::optional<std::string> deviceName;
    std::optional<int64_t> deviceTypeID;
    std::optional<int64_t> deviceState;
    std::shared_ptr<LumetDeviceConfig> lumetDeviceConfig;
    std::shared_ptr<ParvoDeviceConfig> parvoDeviceConfig;
    std::shared_ptr<SQuennConfig> quennDeviceConfig;

    bool isSwitchedOff() const { return deviceState == SwitchedOff; }
};

} // namespace core
