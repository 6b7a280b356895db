// core::SQuennConfig: the configuration of the Quenn model, from the "Quenn_DeviceConfig" object of a device
// detail: four numbers, the fourth being the listen number. A plain record, changed in place by screens
// after an accepted command. Main thread.
//
//   if (auto quenn = device->quennDeviceConfig) listen.setText(quenn->sOSNum4.text());
#pragma once

#include "core/records/ConfigText.h"

namespace core {

struct SQuennConfig {
    ConfigText sOSNum1;
    ConfigText sOSNum2;
    ConfigText sOSNum3;
    ConfigText sOSNum4;
};

} // namespace core
