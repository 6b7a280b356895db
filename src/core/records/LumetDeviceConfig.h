// core::LumetDeviceConfig: the configuration of the main watch model, from the "LumetDevice_Config" object of
// a device detail; the attendance reader also uses it for one attendance row (the last block of fields).
// A plain record: the readers (Tool) fill it, screens change its fields in place after an accepted command so
// that every screen holding the same record shows the new value. Main thread.
//
//   auto config = device->lumetDeviceConfig;
//   if (config && core::ServiceProtocol::isCommandAccepted(d)) config->numberForSOS = typedNumber;
#pragma once

#include "base/time/Date.h"
#include "base/values/Value.h"
#include "core/records/ConfigText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace core {

struct LumetDeviceConfig {
    // Numbers: "ButtonNo1" (father), "ButtonNo2" (mother), "SOSNo", "ListenNo".
    ConfigText numberForFather;
    ConfigText numberForMother;
    ConfigText numberForSOS;
    ConfigText numberForListen;
    // Key states as received ("ButtonNo1_State", "ButtonNo2_State", "SOSNo_State"); nothing when absent.
    std::optional<base::Value> buttonNo1_State;
    std::optional<base::Value> buttonNo2_State;
    std::optional<base::Value> sosNo_State;
    ConfigText buttonNo1_Name;
    ConfigText buttonNo2_Name;
    ConfigText sosNo_Name;
    ConfigText buttonNo1_Icon;
    ConfigText buttonNo2_Icon;
    ConfigText sosNo_Icon;
    // Power schedule: "HH:mm" texts and 1 (schedule on) or 0.
    ConfigText powerOnTime;
    ConfigText powerOffTime;
    std::optional<int64_t> powerState;
    // "Fanghuoqiang": "true", "false" or null; nothing when absent.
    std::optional<ConfigText> fangHuoQiang;
    // 1 locked, 0 unlocked.
    std::optional<int64_t> keyLockState;
    // School times, the service's date texts as received.
    ConfigText enterCampusTime;
    ConfigText leaveCampusTime;
    // "CowNoti": "01" notice on, "00" off.
    ConfigText cowNoti;
    // "FRIDState": "true" or "false".
    ConfigText rfidState;
    // The step challenge: read as integers, kept as doubles; 0 without a challenge.
    double TargetStepCount { 0 };
    double FinishStepCount { 0 };
    bool IsPerdometerRunning { false };
    bool IsPerdometerFinish { false };

    // One attendance row.
    std::optional<std::string> id_;
    std::optional<std::string> serialNumber;
    std::optional<int64_t> type;
    std::optional<base::Date> dateTime;
    std::optional<std::string> state;
    std::optional<std::string> code;
};

} // namespace core
