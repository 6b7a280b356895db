// tracking_service::makeDemoVoice: the AMR file of the demo's watch voice message: a short two-tone chime,
// synthesised as 8 kHz mono 16-bit samples and encoded with the application's own AMR conversion, so the
// demo plays a real file through the whole voice road. Any thread.
//
//   store.putFile(DemoData::VoiceFileName, tracking_service::makeDemoVoice());
#pragma once

#include "base/values/Value.h"

namespace tracking_service {

base::Data makeDemoVoice();

} // namespace tracking_service
