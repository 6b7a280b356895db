#include "tracking-service/DemoData.h"

#include "base/time/Calendar.h"
#include "base/values/Dictionary.h"
#include "base/time/ServiceDateText.h"
#include "core/service/ServiceProtocol.h"
#include "tracking-service/DemoDevices.h"
#include "tracking-service/DemoVoice.h"
#include "tracking-service/LaneSeeds.h"
#include "tracking-service/ServiceStore.h"

#include <string>

namespace tracking_service {

using base::Dictionary;
using base::Value;
using core::ServiceProtocol;

namespace {

    constexpr double Hour = 3600;
    // The type a watch gives the messages it sends, its voice messages included.
    constexpr int WatchMessageType = 3;

    Value message(const char* id, const char* context, const char* desc, const char* from, int msgType, std::string url,
        base::Date created)
    {
        return Value(Dictionary::make({
            { ServiceProtocol::MessageIdKey, id },
            { ServiceProtocol::MessageContextKey, context },
            { ServiceProtocol::MessageDescKey, desc },
            { ServiceProtocol::MessageFromKey, from },
            { ServiceProtocol::MessageToKey, DemoData::AccountName },
            { ServiceProtocol::MessageFromIconNameKey, "icon02.png" },
            { ServiceProtocol::MessageToIconNameKey, "icon01.png" },
            { ServiceProtocol::MessageMsgTypeKey, msgType },
            { ServiceProtocol::MessageUrlKey, std::move(url) },
            { ServiceProtocol::MessageCreateTimeKey, base::serviceDateText(created) },
        }));
    }

    // A watch's voice message names the service's file in "Context" and is marked by its description; the
    // file is served by the download endpoint under that name. The type-36 watch's goes to its chat, the
    // type-27 watch's to the message detail.
    void queueMessages(ServiceStore& store, base::Date now)
    {
        std::string voiceUrl = std::string(ServiceProtocol::DownloadPath) + "?" + ServiceProtocol::DownloadNameParameter
            + "=" + DemoData::VoiceFileName;
        store.queueMessage(DemoData::AccountName,
            message("demo-message-1", "SOS", "SOS alarm", DemoData::WatchSerialNumber, 1, "",
                now.dateByAddingTimeInterval(-Hour)));
        store.queueMessage(DemoData::AccountName,
            message("demo-message-2", "22.5431,114.0579", ServiceProtocol::LocationMarker,
                DemoData::Watch27SerialNumber, 2, "", now.dateByAddingTimeInterval(-30 * 60)));
        store.queueMessage(DemoData::AccountName,
            message("demo-message-3", DemoData::VoiceFileName, ServiceProtocol::VoiceMarker,
                DemoData::WatchSerialNumber, WatchMessageType, voiceUrl, now.dateByAddingTimeInterval(-5 * 60)));
        store.queueMessage(DemoData::AccountName,
            message("demo-message-4", DemoData::VoiceFileName, ServiceProtocol::VoiceMarker,
                DemoData::Watch27SerialNumber, WatchMessageType, voiceUrl, now.dateByAddingTimeInterval(-3 * 60)));
    }

} // namespace

void DemoData::seed(ServiceStore& store, base::Date now)
{
    DemoSeed demo { AccountName, now, base::Calendar::current().startOfDay(now) };
    store.addAccount(AccountName, Password);
    seedDemoDevices(store, AccountName, demo.today);
    store.putFile(VoiceFileName, makeDemoVoice());
    queueMessages(store, now);
    seedChat(store, demo);
    seedSettings(store, demo);
    seedNumber(store, demo);
    seedPhoneBook(store, demo);
    seedAttendance(store, demo);
    seedSchedule(store, demo);
    seedChallenge(store, demo);
    seedPurchase(store, demo);
}

} // namespace tracking_service
