// tracking_service::DemoData: what a new local tracking service starts with: one account with devices of
// several types (a Lumet watch of type 36 and devices of the types 27, 41, 2, 13 and 18) and their detail
// records and configurations, waiting messages (a watch voice message with a real AMR file among them),
// attendance rows, alarm clocks, a timetable, a phone book and a step count. Dates are placed around `now`.
//
//   if (store.isEmpty()) tracking_service::DemoData::seed(store, base::Date::now());
#pragma once

#include "base/Date.h"

namespace tracking_service {

class ServiceStore;

class DemoData {
public:
    static constexpr const char* AccountName = "lumet_demo";
    static constexpr const char* Password = "demo1234";

    static constexpr const char* WatchSerialNumber = "LW3600000001";
    static constexpr const char* Watch27SerialNumber = "LW2700000001";
    static constexpr const char* CarTrackerSerialNumber = "CT4100000001";
    static constexpr const char* ParvoSerialNumber = "PV0200000001";
    static constexpr const char* Tracker13SerialNumber = "NS1300000001";
    // Switched off (device state 1).
    static constexpr const char* Tracker18SerialNumber = "NS1800000001";

    static constexpr const char* VoiceFileName = "LW3600000001_demo.amr";

    static void seed(ServiceStore& store, base::Date now);
};

} // namespace tracking_service
