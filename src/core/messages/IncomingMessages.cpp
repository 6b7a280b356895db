#include "core/messages/IncomingMessages.h"

#include "base/loop/DispatchQueue.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/system/UserDefaults.h"
#include "core/messages/DBManager.h"
#include "core/messages/MessageSpool.h"
#include "core/state/NotificationNames.h"
#include "core/helpers/PromptAlert.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "core/readers/Tool.h"

namespace core {

namespace {

    using Place = PendingMessage::Place;
    using Stored = std::function<void(const PendingMessage&)>;

    // Main thread only.
    size_t inFlight = 0;
    bool failureNoticed = false;

    const std::shared_ptr<base::DispatchQueue>& storingQueue()
    {
        static const auto queue = base::DispatchQueue::makeSerial("core.incoming-messages");
        return queue;
    }

    std::optional<int64_t> currentDeviceType()
    {
        auto& state = Singleton::shared();
        if (auto detail = state.deviceDetail(); detail && detail->deviceTypeID)
            return detail->deviceTypeID;
        return state.deviceTypeID();
    }

    std::vector<PendingMessage> placed(std::string_view reply)
    {
        auto account = base::UserDefaults::standard().stringForKey(SettingsKeys::LoginName2);
        bool voiceToChat = currentDeviceType() != IncomingMessages::VoiceInMessageCentreType;
        std::vector<PendingMessage> pending;
        for (auto& message : Tool::readUserMessageQueryFromJson(reply)) {
            message->userName = account;
            bool chat = voiceToChat && message->desc == ServiceProtocol::VoiceMarker;
            pending.push_back({ std::move(message), chat ? Place::Chat : Place::MessageCentre });
        }
        return pending;
    }

    void noticeFailureOnce()
    {
        if (failureNoticed)
            return;
        failureNoticed = true;
        showPromptAlert(IncomingMessages::StoreFailedMessageKey);
    }

    void finish(bool stored, const std::vector<PendingMessage>& batch, const Stored& announce)
    {
        --inFlight;
        if (!stored) {
            noticeFailureOnce();
            return;
        }
        failureNoticed = false;
        for (const PendingMessage& pending : batch)
            announce(pending);
    }

    // Storing queue. The spool is written before the store and cleared after its commit, so that a failure
    // or a kill at any point leaves every message of the batch in one place or the other.
    bool storeWithSpool(const std::vector<PendingMessage>& batch)
    {
        bool spooled = MessageSpool::write(batch);
        if (DBManager::saveIncomingMessages(batch)) {
            MessageSpool::clear();
            return true;
        }
        if (!spooled)
            base::log("incoming messages: neither stored nor spooled");
        else
            base::log("incoming messages: cannot store; kept in the spool");
        return false;
    }

    void storeInBackground(std::vector<PendingMessage> pending, Stored announce)
    {
        ++inFlight;
        storingQueue()->async([pending = std::move(pending), announce = std::move(announce)]() mutable {
            auto batch = MessageSpool::read();
            batch.insert(batch.end(), std::make_move_iterator(pending.begin()), std::make_move_iterator(pending.end()));
            bool stored = batch.empty() || storeWithSpool(batch);
            base::RunLoop::main().post([stored, batch = std::move(batch), announce = std::move(announce)] {
                finish(stored, batch, announce);
            });
        });
    }

    void announce(const PendingMessage& pending)
    {
        base::NotificationCenter::defaultCenter().post(NotificationNames::ReceiveRemoteNotification, pending.message);
    }

    size_t storePlaced(std::string_view reply, Stored announceStored)
    {
        BASE_ASSERT_MAIN_THREAD();
        auto pending = placed(reply);
        size_t count = pending.size();
        if (count)
            storeInBackground(std::move(pending), std::move(announceStored));
        return count;
    }

} // namespace

size_t IncomingMessages::store(std::string_view reply) { return storePlaced(reply, announce); }

size_t IncomingMessages::storeForChat(std::string_view reply, const std::function<void()>& reloadChatList)
{
    return storePlaced(reply, [reload = reloadChatList](const PendingMessage& pending) {
        if (pending.place == Place::Chat)
            announce(pending);
        else if (reload)
            reload();
    });
}

void IncomingMessages::storeSpooled()
{
    BASE_ASSERT_MAIN_THREAD();
    storeInBackground({}, announce);
}

size_t IncomingMessages::storesInFlight() { return inFlight; }

} // namespace core
