#include "tracking-service/ServiceMethods.h"

#include <algorithm>

namespace tracking_service {

namespace {

    // The texts the account sent to each device, oldest first, kept as a per-device document.
    constexpr const char* SentTextsDocument = "sent_texts";
    constexpr int64_t soundCommandTypes[] = { 2, 13, 18, 20 };

    bool takesSoundCommands(WebMethodCall& call, const std::string& serialNumber)
    {
        for (const DeviceRow& device : call.store.devicesOf(call.account)) {
            if (device.serialNumber == serialNumber)
                return std::ranges::find(soundCommandTypes, device.typeID) != std::end(soundCommandTypes);
        }
        return false;
    }

    base::Value sendText(WebMethodCall& call)
    {
        std::string serialNumber = call.text(WebMethodCall::SerialNumberKey);
        base::Value answer = call.command([](base::MutableDictionary&) { return true; });
        if (call.ownsDevice(serialNumber))
            call.store.appendToDocument(serialNumber, SentTextsDocument, base::Value(call.text("text")));
        return answer;
    }

    base::Value sendSoundCommand(WebMethodCall& call)
    {
        if (!takesSoundCommands(call, call.text(WebMethodCall::SerialNumberKey)))
            return base::Value(Fault::DefaultRefusal);
        return call.command([](base::MutableDictionary&) { return true; });
    }

} // namespace

void addChatMethods(WebMethodTable& table)
{
    table.add("LumetSendTextMsg", WebMethodTable::Access::SignedIn, sendText);
    table.add("ParvoSendSoundCommand", WebMethodTable::Access::SignedIn, sendSoundCommand);
}

} // namespace tracking_service
