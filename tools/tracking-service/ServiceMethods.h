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

// The methods of the feature screens, one family per feature.
// Voice messaging with the watch: text messages and sound commands.
void addChatMethods(WebMethodTable& table);
// The settings centre: device commands and account actions.
void addSettingsMethods(WebMethodTable& table);
// Family, listen and centre numbers by device model.
void addNumberMethods(WebMethodTable& table);
// The watch's phone book.
void addPhoneBookMethods(WebMethodTable& table);
// Attendance history and school times.
void addAttendanceMethods(WebMethodTable& table);
// Alarm clocks, class schedule, power schedule and upload interval.
void addScheduleMethods(WebMethodTable& table);
// The parent-child step challenge.
void addChallengeMethods(WebMethodTable& table);
// The permanent-service purchase.
void addPurchaseMethods(WebMethodTable& table);

} // namespace tracking_service
