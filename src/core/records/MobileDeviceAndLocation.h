// core::MobileDeviceAndLocation: one row of the account's device list, and the current-device row that the
// local store keeps per account (DBManager). The online state comes only from device-list replies; a stored
// row has none. A plain record. Main thread.
//
//   auto row = core::DBManager::readSingleMobileDevice();
//   if (row && row->deviceTypeID == 36) openChat();
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace core {

struct MobileDeviceAndLocation {
    std::optional<std::string> serialNumber;
    std::optional<std::string> DeviceName;
    std::optional<int64_t> deviceTypeID;
    std::optional<int64_t> deviceOnlineState;
};

} // namespace core
