// settings::SingleNumberCommand: a command that sets one number of a device (the Parvo authorised and listen
// numbers, the Morvik listen and centre numbers). The number screens close their panel as soon as they
// send, so the outcome comes as an alert: "success" only for the accepted-command text, when the new number
// is written into the record (the `accepted` block); "failure" for a refusal, a reply that cannot be read
// and a failed request, when the record keeps the watch's number. An answer that comes after the sign-in it
// was sent under has ended shows and writes nothing. Main thread.
//
//   settings::SingleNumberCommand::send("ParvoSetTelephoneNumberforWiretapping", body,
//       [device, typed] { device->parvoDeviceConfig->listenNum = typed; });
#pragma once

#include "base/values/Dictionary.h"

#include <functional>
#include <string>

namespace settings {

class SingleNumberCommand {
public:
    static void send(const std::string& method, const base::DictionaryRef& body, std::function<void()> accepted);
    // The outcome without a request (nothing to send it for counts as not accepted).
    static void settle(const std::function<void()>& accepted, bool wasAccepted);
};

} // namespace settings
