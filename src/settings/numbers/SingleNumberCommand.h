// settings::SingleNumberCommand: a command that sets one number of a device (the Parvo authorised and listen
// numbers, the Morvik listen and centre numbers). The number screens close their panel as soon as they
// send, so the outcome comes as an alert: "success" only for the accepted-command text, when the new number
// is written into the record (the `accepted` block); "failure" for a refusal, a reply that cannot be read
// and a failed request, when the typed number is kept as a draft for the next panel of that slot. Main
// thread.
//
//   settings::SingleNumberCommand::send("ParvoSetTelephoneNumberforWiretapping", body,
//       { serial, "parvo.117", typed }, [device, typed] { device->parvoDeviceConfig->listenNum = typed; });
#pragma once

#include "base/values/Dictionary.h"

#include <functional>
#include <string>

namespace settings {

class SingleNumberCommand {
public:
    struct Draft {
        std::string serialNumber;
        std::string slot;
        std::string typed;
    };

    static void send(
        const std::string& method, const base::DictionaryRef& body, Draft draft, std::function<void()> accepted);
    // The outcome without a request (nothing to send it for counts as not accepted).
    static void settle(const Draft& draft, const std::function<void()>& accepted, bool wasAccepted);
};

} // namespace settings
