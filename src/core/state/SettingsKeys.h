// core::SettingsKeys: the keys of the settings that several parts of the application share, in the
// user-defaults store. Per-device settings append the serial number to their key ("kStartTime_<serial>").
//
//   auto account = core::Helper::readSettingsByKey(core::SettingsKeys::LoginName2);
#pragma once

#include "core/service/RootUrl.h"

#include <array>

namespace core {

class SettingsKeys {
public:
    // The session cookie sent with every web call.
    static constexpr const char* Cookie = "kCookie";
    static constexpr const char* RootUrl = RootUrlKey;
    // The login key of the chosen server.
    static constexpr const char* LoginKey = "loginkey";
    static constexpr const char* LastSerialNumber = "kLastSerialNumber";
    static constexpr const char* LoginName = "kLoginName";
    // The signed-in account: owner of the stored messages and of the stored current-device row.
    static constexpr const char* LoginName2 = "kLoginName2";
    static constexpr const char* Password = "kPassword";
    static constexpr const char* AutoLogin = "kAutoLogin";
    static constexpr const char* ReLoginName = "kReLoginName";
    static constexpr const char* RePassword = "kRePassword";
    static constexpr const char* NotificationSwitch = "notification_switch";
    static constexpr const char* PlayerSpeed = "PlayerSpeed";
    static constexpr const char* DeviceToken = "DeviceToken";
    static constexpr const char* DeviceName = "DeviceName";
    static constexpr const char* Runtimes = "runtimes";
    static constexpr const char* Receipt = "receipt";

    // What the child-care screens keep of the current device as they load it (the school entry and leaving
    // times, the challenge's target and finished steps, the pedometer's target and count). They are the
    // signed-in account's, under keys of no account: forgotten at sign-out, and written again from the device's
    // record before a screen reads them.
    static constexpr const char* InTime = "inTime";
    static constexpr const char* OutTime = "outTime";
    static constexpr const char* StepCount = "stepCount";
    static constexpr const char* StepNum = "stepNum";
    static constexpr const char* CurrStepCount = "currStepCount";
    static constexpr const char* CurrentStepCount = "currentStepCount";
    static constexpr const char* CurrentStepNum = "currentStepNum";
    static constexpr std::array<const char*, 7> SignedInDeviceKeys
        = { InTime, OutTime, StepCount, StepNum, CurrStepCount, CurrentStepCount, CurrentStepNum };
};

} // namespace core
