// tracking_service::DemoData: what a new local tracking service starts with: one account with a device of
// every type the application branches on (Lumet watches of the types 36, 27, 40, 43 and 44, Parvo trackers
// of the types 2, 13 and 18, trackers of the types 7, 16, 20 and 21, Quenn devices of the types 3 and 6, a
// Morvik tracker of type 4 and a car tracker of type 41) with their detail records and configurations
// (DemoDevices.h), waiting messages (voice messages of the type-36 and type-27 watches with a real AMR file
// among them), and the data of each feature (LaneSeeds.h): attendance rows, alarm clocks, a timetable, a phone
// book and a step count. Dates are placed around `now`.
//
//   if (store.isEmpty()) tracking_service::DemoData::seed(store, base::Date::now());
#pragma once

#include "base/time/Date.h"

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
    static constexpr const char* Quenn3SerialNumber = "QN0300000001";
    static constexpr const char* Quenn6SerialNumber = "QN0600000001";
    static constexpr const char* MorvikSerialNumber = "MV0400000001";
    static constexpr const char* Tracker7SerialNumber = "NS0700000001";
    // Not on line.
    static constexpr const char* Tracker16SerialNumber = "NS1600000001";
    static constexpr const char* Tracker20SerialNumber = "NS2000000001";
    static constexpr const char* Tracker21SerialNumber = "NS2100000001";
    // Firewall on, power schedule off, no step challenge.
    static constexpr const char* Watch40SerialNumber = "LW4000000001";
    // Keys locked, a finished step challenge.
    static constexpr const char* Watch43SerialNumber = "LW4300000001";
    // A running step challenge.
    static constexpr const char* Watch44SerialNumber = "LW4400000001";

    static constexpr const char* VoiceFileName = "LW3600000001_demo.amr";

    static void seed(ServiceStore& store, base::Date now);
};

} // namespace tracking_service
