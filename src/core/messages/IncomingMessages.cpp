#include "core/messages/IncomingMessages.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/system/FreedMemory.h"
#include "base/system/Log.h"
#include "base/system/UserDefaults.h"
#include "base/time/Clock.h"
#include "core/helpers/PromptAlert.h"
#include "core/messages/ArrivingReply.h"
#include "core/messages/MessageSpool.h"
#include "core/messages/WaitingReplies.h"
#include "core/readers/MessageList.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/AccountDevices.h"
#include "core/state/NotificationNames.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "net/http/URLErrors.h"
#include "networking/http/HTTPRequestOperation.h"
#include "networking/http/Reply.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace core {

namespace {

    using Place = PendingMessage::Place;
    using Stored = std::function<void(const PendingMessage&)>;

    // "1 reply", "2 replies": for the log.
    std::string repliesCounted(size_t count) { return std::to_string(count) + (count == 1 ? " reply" : " replies"); }

    // Main thread only. Polls waiting for their reply are counted in both.
    size_t inFlight = 0;
    size_t pollsAsked = 0;
    // As the storing queue last reported: replies held in memory, and whether the spool failed the last write
    // it was given.
    size_t heldInMemory = 0;
    bool lastWriteFailed = false;
    // The notice last shown, so that each is shown once until things change; empty when none is due.
    std::string noticeShown;
    // After a reply refused as too large no poll is made for a pause, so that a service answering that large is
    // not asked again every 2 s: the pause doubles with each refusal in a row, from 2 s up to five minutes, and a
    // reply received ends the run of refusals.
    constexpr base::Duration FirstRefusalPause { 2.0 };
    constexpr base::Duration LongestRefusalPause { 300.0 };
    base::Duration refusalPause { 0 };
    base::Clock::TimePoint pollsResumeAt {};

    // A storing step that read at least this much hands the memory it freed back to the system.
    constexpr uintmax_t LargeStepBytes = uintmax_t(4) << 20;

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

    // Replies the spool could not take, kept in memory until it can or they are stored. Storing queue only. Never
    // destroyed: a reply's file that could not be flushed must outlive the process, for the next launch.
    std::vector<SpooledReply>& heldReplies()
    {
        static auto* held = new std::vector<SpooledReply>;
        return *held;
    }

    // Takes a reply held in memory into the spool, flushed as `flush` says: through the file that holds it
    // unflushed when it has one, else a new file. A file whose flush fails stays with the reply, so that a kill
    // leaves it for the next launch.
    // `text`: the reply, written when it has no open file yet.
    bool spool(SpooledReply& reply, std::string_view text, SpoolFile::Flush flush = SpoolFile::Flush::ToDisk)
    {
        if (!reply.unflushed || !reply.unflushed->isOpen())
            reply.unflushed = MessageSpool::write(text, reply.context);
        if (!reply.unflushed || reply.unflushed->finish(flush).empty())
            return false;
        reply.unflushed.reset();
        return true;
    }

    // The held replies that the spool takes now leave memory for it.
    void spoolHeld(std::vector<SpooledReply>& held, SpoolFile::Flush flush)
    {
        std::vector<SpooledReply> left;
        for (SpooledReply& reply : held) {
            if (!spool(reply, reply.body, flush))
                left.push_back(std::move(reply));
        }
        held = std::move(left);
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

    // Whether the notice is shown now (it was not the last one shown). `arguments` fill the text's placeholders.
    bool noticeOnce(const char* key, const std::vector<std::string>& arguments = {})
    {
        if (noticeShown == key)
            return false;
        noticeShown = key;
        if (arguments.empty())
            showPromptAlert(key);
        else
            showPromptAlert(key, arguments);
        return true;
    }

    // What a storing step reports to the main loop.
    struct StepReport {
        StoringOutcome outcome;
        size_t held { 0 };
        // Whether the spool took what the step gave it to write; nothing when it gave it nothing.
        std::optional<bool> written;
    };

    void finish(StepReport report, const Stored& announce)
    {
        --inFlight;
        heldInMemory = report.held;
        if (report.written)
            lastWriteFailed = !*report.written;
        if (!report.outcome.stored) {
            noticeOnce(
                report.held == 0 ? IncomingMessages::StoreFailedMessageKey : IncomingMessages::NotKeptMessageKey);
            return;
        }
        noticeShown.clear();
        report.outcome.messages.forEach(announce);
        // A large reply's reading and storing leave much of the heap free, which malloc keeps unless told: a run
        // without a window, which never comes to rest after a redraw, would hold it for good.
        if (report.outcome.bytesRead >= LargeStepBytes) {
            report.outcome.messages.clear();
            base::returnFreedMemoryToSystem();
        }
    }

    // Storing queue. `checkWrite`: with nothing held to write, learn whether the spool takes a write now.
    void storeWaiting(std::optional<SpooledReply> unspooled, bool checkWrite, Stored announce)
    {
        auto& held = heldReplies();
        if (unspooled)
            held.push_back(std::move(*unspooled));
        StepReport report;
        if (!held.empty()) {
            spoolHeld(held, SpoolFile::Flush::ToDisk);
            report.written = held.empty();
        } else if (checkWrite)
            report.written = MessageSpool::canWrite();
        report.outcome = storeWaitingReplies(held);
        report.held = held.size();
        if (!report.outcome.stored && held.empty())
            base::log("incoming messages: cannot store; the replies wait in the spool");
        else if (!report.outcome.stored)
            base::log("incoming messages: cannot store; held in memory for want of room in the spool, lost if the "
                      "application ends first: "
                + repliesCounted(held.size()));
        base::RunLoop::main().post([report = std::move(report), announce = std::move(announce)]() mutable {
            finish(std::move(report), announce);
        });
    }

    // Storing queue, at exit: the replies still held in memory, which the spool could not take flushed, are written
    // to it without the flush as a last try: the kernel may still put them on disk after the process has ended.
    void spoolHeldUnflushed()
    {
        auto& held = heldReplies();
        size_t before = held.size();
        spoolHeld(held, SpoolFile::Flush::LeftToTheKernel);
        if (held.size() < before)
            base::log("incoming messages: written to the spool without the flush, as a last try at exit: "
                + repliesCounted(before - held.size()) + " that could not be flushed to disk");
        base::RunLoop::main().post([left = held.size()] {
            --inFlight;
            heldInMemory = left;
        });
    }

    // Starts a storing step that first writes the replies held in memory to the spool, or, with none held, learns
    // whether the spool takes a write again.
    void retryWriting(Stored announce)
    {
        ++inFlight;
        storingQueue()->async(
            [announce = std::move(announce)]() mutable { storeWaiting(std::nullopt, true, announce); });
    }

    // Announces the messages of the asking sign-in's account to that sign-in while it is the current one, or to
    // a later sign-in of the same account (signed out and in again while the reply came): what a step stores
    // for another account waits in the store for that account's next sign-in.
    Stored announceWithin(ReplyContext context, Stored announce)
    {
        return [signIn = SignInSession::current(), account = std::move(context.account),
                   announce = std::move(announce)](const PendingMessage& pending) {
            if (pending.message->userName != account)
                return;
            if (signIn.isCurrent() || (account && SignInSession::current().isOpenFor(*account)))
                announce(pending);
        };
    }

    using Body = std::shared_ptr<const base::Data>;

    std::string_view textOf(const Body& body)
    {
        return std::string_view(reinterpret_cast<const char*>(body->data()), body->size());
    }

    // `body`: the reply as received, shared with the call that received it rather than copied, as it may be
    // tens of megabytes. `context`: the account and placing rule of the sign-in that asked for the reply.
    // `arriving`: the reply as written into the spool while it came (none for a reply given whole); the spooling
    // queue finishes it, or, should that fail, writes the reply from memory as one given whole.
    void keep(Body body, ReplyContext context, Stored announce, std::shared_ptr<ArrivingReply> arriving = nullptr)
    {
        BASE_ASSERT_MAIN_THREAD();
        if (ReplyFields::isBlank(textOf(body)) || holdsEmptyMessageList(textOf(body))) {
            if (arriving)
                arriving->abandon();
            return; // nothing in it to lose
        }
        ++inFlight;
        spoolingQueue()->async([body = std::move(body), context = std::move(context), announce = std::move(announce),
                                   arriving = std::move(arriving)]() mutable {
            std::optional<SpooledReply> unspooled;
            // The file the reply was written into as it came, else one written now; the reply is copied into
            // memory only when the spool cannot keep it.
            SpooledReply reply { {}, std::move(context), {}, arriving ? arriving->take() : nullptr };
            if (!spool(reply, textOf(body))) {
                base::log(reply.unflushed ? "incoming messages: the spool cannot flush a reply to disk; holding it in "
                                            "memory, its file kept for the next launch"
                                          : "incoming messages: the spool cannot take a reply; holding it in memory");
                reply.body = std::string(textOf(body));
                unspooled = std::move(reply);
            }
            body.reset();
            storingQueue()->async([unspooled = std::move(unspooled), announce = std::move(announce)]() mutable {
                storeWaiting(std::move(unspooled), false, std::move(announce));
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

    // Says that no poll is made for want of room, and where the room went when the replies kept aside hold it.
    void noRoom()
    {
        if (!MessageSpool::roomHeldAside()) {
            noticeOnce(IncomingMessages::NoRoomMessageKey);
            return;
        }
        std::string aside = MessageSpool::asideFolder().string();
        if (noticeOnce(IncomingMessages::NoRoomAsideMessageKey, { aside }))
            base::log("incoming messages: no poll: the replies kept aside in " + aside + " hold the room a poll needs");
    }

    // Whether a poll may be made now. The service hands a message out once, so no poll is made while a reply may
    // be in memory only: while a poll or a store is under way, or a reply the spool could not take is held; nor
    // after the spool failed a write, nor without room for the largest reply; nor during the pause after a reply
    // refused as too large. A poll skipped for a reply held, or a failed write, has the write tried again instead.
    bool mayPoll(const Stored& announce)
    {
        if (inFlight > 0)
            return false;
        if (heldInMemory > 0 || lastWriteFailed) {
            if (heldInMemory == 0)
                noticeOnce(IncomingMessages::NoRoomMessageKey);
            retryWriting(announce);
            return false;
        }
        if (base::Clock::currentInstant() < pollsResumeAt)
            return false;
        if (!MessageSpool::canTakeReply()) {
            noRoom();
            return false;
        }
        if (noticeShown == IncomingMessages::NoRoomMessageKey || noticeShown == IncomingMessages::NoRoomAsideMessageKey)
            noticeShown.clear();
        return true;
    }

    bool refusedAsTooLarge(const base::Error& error)
    {
        return error.domain() == base::Error::URLDomain && error.code() == net::URLErrors::DataLengthExceedsMaximum;
    }

    // A poll that failed after part of its reply came (the connection broke, the service stopped sending): what
    // came was handed out and stays, as a reply cut off by a kill does: named into the spool, whose storing step
    // stores its whole messages and keeps aside what does not read. A reply that is not the poll's (an error
    // status, a body of another kind, one refused as too large) goes.
    void keepCut(const base::Error& error, std::shared_ptr<ArrivingReply> arriving, Stored announce)
    {
        if (!arriving->received())
            return;
        if (WebCall::isServiceFault(error) || refusedAsTooLarge(error)) {
            arriving->abandon();
            return;
        }
        ++inFlight;
        spoolingQueue()->async([arriving = std::move(arriving), announce = std::move(announce)]() mutable {
            // Nothing else holds the part: one that cannot be flushed is named into the spool all the same, where a
            // kill leaves it, and no poll is made until the spool takes a write again.
            bool flushed = arriving->finish();
            if (!flushed && arriving->finish(SpoolFile::Flush::LeftToTheKernel))
                base::log("incoming messages: the part of a reply that came before its transfer failed could not be "
                          "flushed to disk; it is in the spool without the flush");
            else if (!flushed)
                base::log("incoming messages: the part of a reply that came before its transfer failed could not be "
                          "spooled");
            storingQueue()->async([flushed, announce = std::move(announce)]() mutable {
                storeWaiting(std::nullopt, !flushed, std::move(announce));
            });
        });
    }

    void pollFailed(const base::Error& error)
    {
        if (!refusedAsTooLarge(error)) {
            base::trace("net", "message poll failed: " + error.description());
            return;
        }
        refusalPause = refusalPause.count() == 0 ? FirstRefusalPause : std::min(refusalPause * 2, LongestRefusalPause);
        pollsResumeAt = base::Clock::currentInstant() + base::Clock::ticks(refusalPause);
        if (noticeOnce(IncomingMessages::ReplyTooLargeMessageKey))
            base::log("incoming messages: a poll's reply is larger than the "
                + std::to_string(MessageSpool::largestReply()) + " bytes kept in memory; it is refused");
    }

    void pollStoring(Stored announce, IncomingMessages::Finished finished)
    {
        BASE_ASSERT_MAIN_THREAD();
        // The service hands out the messages of the session the poll goes in: they are that sign-in's account's,
        // whoever is signed in when the reply comes.
        auto context = currentContext();
        announce = announceWithin(context, std::move(announce));
        if (!mayPoll(announce)) {
            if (finished)
                finished(false);
            return;
        }
        ++inFlight;
        ++pollsAsked;
        auto arriving = std::make_shared<ArrivingReply>(context);
        WebCall::postToURL(
            WebCall::urlOfMethod(ServiceProtocol::PopMessagesMethod), nullptr,
            [announce, finished, context, arriving](const networking::HTTPRequestOperation& request) {
                --inFlight;
                --pollsAsked;
                refusalPause = base::Duration(0);
                // The body as received: a text cut mid-character must still reach the spool.
                auto reply = request.reply();
                if (reply && reply->body)
                    keep(reply->body, context, announce, arriving);
                else
                    arriving->abandon();
                if (finished)
                    finished(true);
            },
            [announce, finished, arriving, signIn = SignInSession::current()](const base::Error& error) {
                --inFlight;
                --pollsAsked;
                // The notice of a sign-in that has ended would show on another's screens.
                if (signIn.isCurrent())
                    pollFailed(error);
                keepCut(error, arriving, announce);
                if (finished)
                    finished(false);
            },
            WebCall::OnExpiredSession::Renew,
            // The reply goes to the spool as it comes; a sending again after the session's renewal begins it anew.
            [arriving](networking::HTTPRequestOperation& request) {
                arriving->abandon();
                request.setReceivedDataBlock(
                    [arriving](const uint8_t* bytes, size_t length) { arriving->append(bytes, length); });
            });
    }

} // namespace

void IncomingMessages::poll(Finished finished) { pollStoring(announce, std::move(finished)); }

void IncomingMessages::pollForChat(Reload reloadChatList, Finished finished)
{
    pollStoring(announceForChat(std::move(reloadChatList)), std::move(finished));
}

void IncomingMessages::store(std::string_view reply)
{
    auto context = currentContext();
    keep(std::make_shared<const base::Data>(reply.begin(), reply.end()), context, announceWithin(context, announce));
}

void IncomingMessages::storeForChat(std::string_view reply, const Reload& reloadChatList)
{
    auto context = currentContext();
    keep(std::make_shared<const base::Data>(reply.begin(), reply.end()), context,
        announceWithin(context, announceForChat(reloadChatList)));
}

void IncomingMessages::storeSpooled()
{
    BASE_ASSERT_MAIN_THREAD();
    ++inFlight;
    storingQueue()->async([] {
        MessageSpool::recoverInterruptedWrites();
        storeWaiting(std::nullopt, false, announce);
    });
}

size_t IncomingMessages::storesInFlight() { return inFlight; }

size_t IncomingMessages::pollsInFlight() { return pollsAsked; }

bool IncomingMessages::finishBeforeExit(std::chrono::milliseconds limit)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& loop = base::RunLoop::main();
    auto end = std::chrono::steady_clock::now() + limit;
    auto settle = [&] {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        return loop.runUntil([] { return inFlight == 0; }, std::max(left, std::chrono::milliseconds(0)));
    };
    bool settled = settle();
    if (settled && heldInMemory > 0) {
        retryWriting(announce);
        settled = settle();
    }
    if (settled && heldInMemory > 0) {
        ++inFlight;
        storingQueue()->async(spoolHeldUnflushed);
        settled = settle();
    }
    if (!settled)
        base::log("incoming messages: a poll or store was still under way at exit; what reached the spool stays there");
    if (heldInMemory > 0)
        base::log("incoming messages: lost at exit, neither written to the spool nor stored: "
            + repliesCounted(heldInMemory));
    return settled && heldInMemory == 0;
}

} // namespace core
