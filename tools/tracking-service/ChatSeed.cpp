#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/DemoData.h"
#include "tracking-service/DemoVoice.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

#include <string>

namespace tracking_service {

namespace {

    constexpr const char* SecondVoiceFileName = "LW3600000001_demo_2.amr";
    // The type a watch gives the messages it sends, its voice messages included.
    constexpr int WatchMessageType = 3;
    // Minutes before now; the demo seed's first voice message came 5 minutes before now.
    constexpr double SecondVoiceAge = 2 * 60;

} // namespace

// A second voice message of the watch, a few minutes after the first, so that the chat shows two.
void seedChat(ServiceStore& store, const DemoSeed& demo)
{
    using core::ServiceProtocol;
    store.putFile(SecondVoiceFileName, makeDemoVoice());
    std::string url = std::string(ServiceProtocol::DownloadPath) + "?" + ServiceProtocol::DownloadNameParameter + "="
        + SecondVoiceFileName;
    store.queueMessage(demo.account,
        base::Value(base::Dictionary::make({
            { ServiceProtocol::MessageIdKey, "demo-message-4" },
            { ServiceProtocol::MessageContextKey, SecondVoiceFileName },
            { ServiceProtocol::MessageDescKey, ServiceProtocol::VoiceMarker },
            { ServiceProtocol::MessageFromKey, DemoData::WatchSerialNumber },
            { ServiceProtocol::MessageToKey, demo.account },
            { ServiceProtocol::MessageFromIconNameKey, "icon02.png" },
            { ServiceProtocol::MessageToIconNameKey, "icon01.png" },
            { ServiceProtocol::MessageMsgTypeKey, WatchMessageType },
            { ServiceProtocol::MessageUrlKey, url },
            { ServiceProtocol::MessageCreateTimeKey,
                base::serviceDateText(demo.now.dateByAddingTimeInterval(-SecondVoiceAge)) },
        })));
}

} // namespace tracking_service
