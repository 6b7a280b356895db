// tracking_service::seedDemoDevices: the demo account's devices and their detail documents, one of every
// type the application branches on, each with the configuration of its model ("LumetDevice_Config",
// "ParvoDevice_Config" or "Quenn_DeviceConfig"; the others null). School times are placed on `today`.
//
//   seedDemoDevices(store, DemoData::AccountName, today);
#pragma once

#include "base/time/Date.h"

#include <string_view>

namespace tracking_service {

class ServiceStore;

void seedDemoDevices(ServiceStore& store, std::string_view account, base::Date today);

} // namespace tracking_service
