#include "shell/IncomingMessages.h"

#include "base/NotificationCenter.h"
#include "base/UserDefaults.h"
#include "core/DBManager.h"
#include "core/NotificationNames.h"
#include "core/ServiceProtocol.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "core/Tool.h"

namespace shell {

namespace {

    std::optional<int64_t> currentDeviceType()
    {
        auto& state = core::Singleton::shared();
        if (auto detail = state.deviceDetail(); detail && detail->deviceTypeID)
            return detail->deviceTypeID;
        return state.deviceTypeID();
    }

} // namespace

size_t IncomingMessages::store(std::string_view reply)
{
    auto messages = core::Tool::readUserMessageQueryFromJson(reply);
    auto account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2);
    bool voiceToChat = currentDeviceType() != VoiceInMessageCentreType;
    for (const auto& message : messages) {
        message->userName = account;
        if (voiceToChat && message->desc == core::ServiceProtocol::VoiceMarker) {
            core::DBManager::saveOrUpdataUserChatQuery(*message);
            core::DBManager::saveOrUpdataUserChatList(*message);
        } else {
            core::DBManager::saveOrUpdataUserMessageQuery(*message);
            core::DBManager::saveOrUpdataUserMessageList(*message);
        }
        base::NotificationCenter::defaultCenter().post(core::NotificationNames::ReceiveRemoteNotification, message);
    }
    return messages.size();
}

} // namespace shell
