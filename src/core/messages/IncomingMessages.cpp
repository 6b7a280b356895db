#include "core/messages/IncomingMessages.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/PromptAlert.h"
#include "core/messages/MessageSpool.h"
#include "core/messages/WaitingReplies.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/AccountDevices.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "networking/http/HTTPRequestOperation.h"
#include "networking/http/Reply.h"

#include <optional>
#include <string>

namespace core {

namespace {

    using Place = PendingMessage::Place;
    using Stored = std::function<void(const PendingMessage&)>;

    // Main thread only.
    size_t inFlight = 0;
    // The notice last shown, so that each is shown once until things change; empty when none is due.
    std::string noticeShown;

    // Writes replies to the spool; kept apart from the storing queue so that a reply is on disk at once, not
    // after a large batch before it has been stored.
    const std::shared_ptr<base::DispatchQueue>& spoolingQueue()
    {
        static const auto queue = base::DispatchQueue::makeSerial("core.message-spool");
        return queue;
    }

    const std::shared_ptr<base::DispatchQueue>& storingQueue()
    {
        static const auto queue = base::DispatchQueue::makeSerial("core.incoming-messages");
        return queue;
    }

    // Replies the spool could not take, kept in memory until it can or they are stored. Storing queue only.
    std::vector<SpooledReply>& heldReplies()
    {
        static std::vector<SpooledReply> held;
        return held;
    }

    std::optional<int64_t> currentDeviceType()
    {
        auto& state = Singleton::shared();
        if (auto detail = state.deviceDetail(); detail && detail->deviceTypeID)
            return detail->deviceTypeID;
        return state.deviceTypeID();
    }

    // Each sender the account's device list knows is placed by its own type, any other by the current one's.
    ReplyContext currentContext()
    {
        ReplyContext context { base::UserDefaults::standard().stringForKey(SettingsKeys::LoginName2),
            currentDeviceType() != IncomingMessages::VoiceInMessageCentreType };
        for (const auto& [serialNumber, type] : AccountDevices::types())
            context.senderVoiceToChat.emplace(serialNumber, type != IncomingMessages::VoiceInMessageCentreType);
        return context;
    }

    void noticeOnce(const char* key)
    {
        if (noticeShown == key)
            return;
        noticeShown = key;
        showPromptAlert(key);
    }

    void finish(const StoringOutcome& outcome, bool allSpooled, const Stored& announce)
    {
        --inFlight;
        if (!outcome.stored) {
            noticeOnce(allSpooled ? IncomingMessages::StoreFailedMessageKey : IncomingMessages::NotKeptMessageKey);
            return;
        }
        noticeShown.clear();
        for (const PendingMessage& pending : outcome.messages)
            announce(pending);
    }

    // Storing queue.
    void storeWaiting(std::optional<SpooledReply> unspooled, Stored announce)
    {
        auto& held = heldReplies();
        if (unspooled)
            held.push_back(std::move(*unspooled));
        auto outcome = storeWaitingReplies(held);
        if (!outcome.stored)
            base::log("incoming messages: cannot store; the replies wait in the spool");
        bool allSpooled = held.empty();
        base::RunLoop::main().post([outcome = std::move(outcome), allSpooled, announce = std::move(announce)] {
            finish(outcome, allSpooled, announce);
        });
    }

    void keep(std::string_view reply, Stored announce)
    {
        BASE_ASSERT_MAIN_THREAD();
        if (ReplyFields::isBlank(reply))
            return; // nothing in it to lose
        ++inFlight;
        spoolingQueue()->async(
            [body = std::string(reply), context = currentContext(), announce = std::move(announce)]() mutable {
                std::optional<SpooledReply> unspooled;
                if (MessageSpool::add(body, context).empty()) {
                    base::log("incoming messages: the spool cannot take a reply; holding it in memory");
                    unspooled = SpooledReply { {}, std::move(context), std::move(body) };
                }
                storingQueue()->async([unspooled = std::move(unspooled), announce = std::move(announce)]() mutable {
                    storeWaiting(std::move(unspooled), std::move(announce));
                });
            });
    }

    void announce(const PendingMessage& pending)
    {
        base::NotificationCenter::defaultCenter().post(NotificationNames::ReceiveRemoteNotification, pending.message);
    }

    Stored announceForChat(IncomingMessages::Reload reloadChatList)
    {
        return [reload = std::move(reloadChatList)](const PendingMessage& pending) {
            if (pending.place == Place::Chat)
                announce(pending);
            else if (reload)
                reload();
        };
    }

    void pollStoring(Stored announce, IncomingMessages::Finished finished)
    {
        BASE_ASSERT_MAIN_THREAD();
        if (!MessageSpool::canTakeReply()) {
            noticeOnce(IncomingMessages::NoRoomMessageKey);
            if (finished)
                finished();
            return;
        }
        if (noticeShown == IncomingMessages::NoRoomMessageKey)
            noticeShown.clear();
        ++inFlight;
        WebCall::postToURL(
            WebCall::urlOfMethod(ServiceProtocol::PopMessagesMethod), nullptr,
            [announce, finished](const networking::HTTPRequestOperation& request) {
                --inFlight;
                // The body as received: a text cut mid-character must still reach the spool.
                auto reply = request.reply();
                if (reply && reply->body)
                    keep(std::string_view(reinterpret_cast<const char*>(reply->body->data()), reply->body->size()),
                        announce);
                if (finished)
                    finished();
            },
            [finished](const base::Error& error) {
                --inFlight;
                base::trace("net", "message poll failed: " + error.description());
                if (finished)
                    finished();
            });
    }

} // namespace

void IncomingMessages::poll(Finished finished) { pollStoring(announce, std::move(finished)); }

void IncomingMessages::pollForChat(Reload reloadChatList, Finished finished)
{
    pollStoring(announceForChat(std::move(reloadChatList)), std::move(finished));
}

void IncomingMessages::store(std::string_view reply) { keep(reply, announce); }

void IncomingMessages::storeForChat(std::string_view reply, const Reload& reloadChatList)
{
    keep(reply, announceForChat(reloadChatList));
}

void IncomingMessages::storeSpooled()
{
    BASE_ASSERT_MAIN_THREAD();
    ++inFlight;
    storingQueue()->async([] { storeWaiting(std::nullopt, announce); });
}

size_t IncomingMessages::storesInFlight() { return inFlight; }

} // namespace core
