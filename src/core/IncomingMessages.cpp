#include "core/IncomingMessages.h"

#include "base/NotificationCenter.h"
#include "base/UserDefaults.h"
#include "core/DBManager.h"
#include "core/NotificationNames.h"
#include "core/ServiceProtocol.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "core/Tool.h"

namespace core {

namespace {

    std::optional<int64_t> currentDeviceType()
    {
        auto& state = Singleton::shared();
        if (auto detail = state.deviceDetail(); detail && detail->deviceTypeID)
            return detail->deviceTypeID;
        return state.deviceTypeID();
    }

    enum class Place { Chat, MessageCentre };

    // Stores each message of the reply and tells `stored` where it went.
    size_t storeEach(
        std::string_view reply, const std::function<void(const std::shared_ptr<UserMessageQuery>&, Place)>& stored)
    {
        auto messages = Tool::readUserMessageQueryFromJson(reply);
        auto account = base::UserDefaults::standard().stringForKey(SettingsKeys::LoginName2);
        bool voiceToChat = currentDeviceType() != IncomingMessages::VoiceInMessageCentreType;
        for (const auto& message : messages) {
            message->userName = account;
            if (voiceToChat && message->desc == ServiceProtocol::VoiceMarker) {
                DBManager::saveOrUpdataUserChatQuery(*message);
                DBManager::saveOrUpdataUserChatList(*message);
                stored(message, Place::Chat);
            } else {
                DBManager::saveOrUpdataUserMessageQuery(*message);
                DBManager::saveOrUpdataUserMessageList(*message);
                stored(message, Place::MessageCentre);
            }
        }
        return messages.size();
    }

    void announce(const std::shared_ptr<UserMessageQuery>& message)
    {
        base::NotificationCenter::defaultCenter().post(NotificationNames::ReceiveRemoteNotification, message);
    }

} // namespace

size_t IncomingMessages::store(std::string_view reply)
{
    return storeEach(reply, [](const std::shared_ptr<UserMessageQuery>& message, Place) { announce(message); });
}

size_t IncomingMessages::storeForChat(std::string_view reply, const std::function<void()>& reloadChatList)
{
    return storeEach(reply, [&](const std::shared_ptr<UserMessageQuery>& message, Place place) {
        if (place == Place::Chat)
            announce(message);
        else if (reloadChatList)
            reloadChatList();
    });
}

} // namespace core
