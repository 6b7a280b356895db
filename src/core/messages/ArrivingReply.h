// core::ArrivingReply: a poll's reply written into the message spool as its bytes arrive
// (MessageSpool::beginReply), so that what the service has sent is on disk as soon as it is received, not only
// once the whole reply has been handed on: the service hands a message out once. Its file is begun at the first
// byte, with the reply's context (ReplyContext) of that moment; finish() syncs it and names it into the spool.
// A file that could not be begun, or a piece that could not be written, makes finish() fail: the caller keeps
// the reply another way. Main thread while the bytes come; then the one thread that finishes or abandons it.
//
//   auto arriving = std::make_shared<core::ArrivingReply>(currentContext);
//   operation.setReceivedDataBlock([arriving](const uint8_t* b, size_t n) { arriving->append(b, n); });
//   if (!arriving->finish()) hold(body, arriving->context()); // on the spooling queue, once the transfer is over
#pragma once

#include "base/system/AtomicFileWriter.h"
#include "core/messages/MessageSpool.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace core {

class ArrivingReply {
public:
    using ContextOfArrival = std::function<ReplyContext()>;

    explicit ArrivingReply(ContextOfArrival contextOfArrival);

    void append(const uint8_t* bytes, size_t length);
    // Whether any byte has come since the start or the last abandon().
    bool received() const { return m_context.has_value(); }
    // The context taken at the first byte; nothing before.
    const std::optional<ReplyContext>& context() const { return m_context; }
    // Syncs the reply and gives it its name in the spool; false when no byte came, its file could not be begun or
    // written, or the sync failed (a file begun then stays, for abandon() or a later launch).
    [[nodiscard]] bool finish();
    // Removes what was written: the bytes were not the poll's reply. A piece that comes later begins anew.
    void abandon();

private:
    ContextOfArrival m_contextOfArrival;
    std::optional<ReplyContext> m_context;
    std::unique_ptr<base::AtomicFileWriter> m_file;
};

} // namespace core
