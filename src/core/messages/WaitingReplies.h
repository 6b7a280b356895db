// core::storeWaitingReplies: the storing step of the incoming messages. It takes every reply waiting in the
// spool (and those held in memory because the spool could not take them), reads their messages with the
// message list reader (readMessageList: every whole message, of a reply cut off by a kill too), places each in
// the chat's or the message centre's tables by the rule of the moment its reply arrived, and stores them all in
// one transaction, together with what an earlier version's spool file still holds. A spooled reply is read from
// its file as the transaction goes and its messages are stored a batch at a time, so that neither a large reply
// nor its messages are ever in memory whole; what is announced is kept packed (PackedMessages). A reply whose
// file cannot be opened is left for a later step; one whose file fails a read part way fails the step. A message with
// neither text, description nor file is not stored. A message without an id is given one made of its reply's name and
// its place in the reply, so that a reply stored again after a kill stores none of them twice. Only after the
// commit does a reply leave the spool: the parts of it that cannot be read are then kept aside with their
// reasons (never what was read, so the aside folder's cap can only cost what could not be read); a reply that
// holds no message list (a captive portal's page, a proxy's error, an object where the list should be) is
// dropped, said once in the log for each kind; every other one is removed. A failure or a kill at any point
// leaves each reply in the spool, to be stored by a later step; the store ignores a message it already has.
// Any thread, one step at a time (IncomingMessages runs it on its storing queue).
//
//   std::vector<core::SpooledReply> held;
//   auto outcome = core::storeWaitingReplies(held);
//   if (outcome.stored) outcome.messages.forEach(announce);
#pragma once

#include "core/messages/MessageSpool.h"
#include "core/messages/PackedMessages.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace core {

struct StoringOutcome {
    bool stored { false };
    // What the step stored, in arrival order (empty when it failed).
    PackedMessages messages;
    // The bytes of the replies it read.
    uintmax_t bytesRead { 0 };
};

// The points of a step after which a kill must lose nothing: every reply read and its messages given to the
// transaction, and the transaction committed.
enum class StoringStage { Read, Committed };

// `held`: replies held in memory (the spool could not take them); the step stores them from there, and empties
// the list once they are stored. `reached` (may be empty) is told each stage as the step passes it.
StoringOutcome storeWaitingReplies(
    std::vector<SpooledReply>& held, const std::function<void(StoringStage)>& reached = {});

} // namespace core
