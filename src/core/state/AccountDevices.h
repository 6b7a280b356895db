// core::AccountDevices: the types of the signed-in account's devices by serial number, as its last device
// list gave them (the sign-in's and the device list screen's), so that what a device sends can be told by
// that device's own type rather than the current one's. Devices without a type are left out; empty before a
// list has come and after a logout. Main thread.
//
//   core::AccountDevices::remember(core::Tool::readDeviceListFromJson(reply));
//   for (const auto& [serialNumber, type] : core::AccountDevices::types()) use(serialNumber, type);
#pragma once

#include "core/records/MobileDeviceAndLocation.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace core {

class AccountDevices {
public:
    static const std::map<std::string, int64_t>& types();
    static void remember(const std::vector<std::shared_ptr<MobileDeviceAndLocation>>& devices);
    static void forget();
};

} // namespace core
