// core::ParvoDeviceConfig: the configuration of the Parvo tracker family, from the "ParvoDevice_Config"
// object of a device detail: the SOS, key and listen numbers and the upload interval. A plain record,
// changed in place by screens after an accepted command. Main thread.
//
//   if (auto parvo = device->parvoDeviceConfig) field.setText(parvo->listenNum.text());
#pragma once

#include "core/records/ConfigText.h"

namespace core {

struct ParvoDeviceConfig {
    ConfigText keySOSCallNo;
    ConfigText keySOSSMSNo;
    ConfigText key1CallNo;
    ConfigText key1SMSNo;
    ConfigText key2CallNo;
    ConfigText key2SMSNo;
    ConfigText key3CallNo;
    ConfigText key3SMSNo;
    ConfigText listenNum;
    // "intervalTime": the upload interval.
    ConfigText intervalTime;
};

} // namespace core
