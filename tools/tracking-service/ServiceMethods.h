// The families of web methods the local tracking service answers; the service adds each to its table at
// construction.
//
//   WebMethodTable table;
//   addAccountMethods(table);
#pragma once

#include "tracking-service/WebMethodTable.h"

namespace tracking_service {

// Sign-in, the device list, the server list and the push token.
void addAccountMethods(WebMethodTable& table);
// The device detail and the documents of a watch: attendance, alarm clocks, phone book, timetable, steps.
void addDeviceMethods(WebMethodTable& table);
// Waiting messages.
void addMessageMethods(WebMethodTable& table);

} // namespace tracking_service
