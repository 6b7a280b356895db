// shell::chooseCurrentDevice: makes one device of the account's list the current device at sign-in: the
// stored current device of the signed-in account when the list still holds it, else the first of the list.
// The device list makes the one the user picks current the same way (makeCurrentDevice).
// The choice becomes Singleton's serial number ("kLastSerialNumber") and device type at once; the account's
// stored current-device row (DBManager) follows with storeCurrentDevice, which the sign-in calls once its
// device request is out, so that a write to disk does not stand between the list and that request. An empty
// list chooses nothing and changes nothing. Main thread.
//
//   auto chosen = shell::chooseCurrentDevice(core::Tool::readDeviceListFromJson(reply));
//   if (!chosen) return showAlert("no_device");
//   home->requestDeviceDetailAhead();
//   shell::storeCurrentDevice(*chosen);
#pragma once

#include "core/records/MobileDeviceAndLocation.h"

#include <memory>
#include <vector>

namespace shell {

std::shared_ptr<core::MobileDeviceAndLocation> chooseCurrentDevice(
    const std::vector<std::shared_ptr<core::MobileDeviceAndLocation>>& devices);

// Makes the device Singleton's current one: its serial number and type, and no detail record yet; posts
// NotificationNames::CurrentDeviceChanged so that every holder of the earlier record drops it.
void makeCurrentDevice(const core::MobileDeviceAndLocation& device);

// Stores the chosen device as the account's current-device row; a failure is logged, the choice holds for
// this run.
void storeCurrentDevice(const core::MobileDeviceAndLocation& chosen);

} // namespace shell
