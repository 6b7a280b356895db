// shell::chooseCurrentDevice: makes one device of the account's list the current device at sign-in: the
// stored current device of the signed-in account when the list still holds it, else the first of the list.
// The choice becomes Singleton's serial number ("kLastSerialNumber") and device type, and the account's
// stored current-device row (DBManager). An empty list chooses nothing and changes nothing. Main thread.
//
//   auto devices = core::Tool::readDeviceListFromJson(reply);
//   if (!shell::chooseCurrentDevice(devices)) showAlert("no_device");
#pragma once

#include "core/records/MobileDeviceAndLocation.h"

#include <memory>
#include <vector>

namespace shell {

std::shared_ptr<core::MobileDeviceAndLocation> chooseCurrentDevice(
    const std::vector<std::shared_ptr<core::MobileDeviceAndLocation>>& devices);

} // namespace shell
