// core::ArrivingReply: a poll's reply written into the message spool as its bytes arrive
// (MessageSpool::beginReply), so that what the service has sent is on disk as soon as it is received, not only
// once the whole reply has been handed on: the service hands a message out once. Its locked file is begun, under
// the context (ReplyContext) of the sign-in that sent the poll, at the first byte that makes the reply more than a
// plainly empty list (`{"d":[]}`, the reply of most polls, which holds nothing to keep and so is never written);
// finish() syncs it and names it into the spool. A file that could not be begun, or a piece that could not be
// written, makes finish() fail: the caller keeps the reply another way. Main thread while the bytes come; then the
// one thread that finishes, takes or abandons it.
//
//   auto arriving = std::make_shared<core::ArrivingReply>(context);
//   operation.setReceivedDataBlock([arriving](const uint8_t* b, size_t n) { arriving->append(b, n); });
//   if (!arriving->finish()) hold(body, arriving->context()); // on the spooling queue, once the transfer is over
#pragma once

#include "core/messages/MessageSpool.h"
#include "core/messages/SpoolFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace core {

class ArrivingReply {
public:
    explicit ArrivingReply(ReplyContext context);

    void append(const uint8_t* bytes, size_t length);
    // Whether any byte has come since the start or the last abandon().
    bool received() const { return m_received; }
    const ReplyContext& context() const { return m_context; }
    // Syncs the reply as `flush` says and gives it its name in the spool; true too when what came is all of a
    // plainly empty list so far (nothing to keep); false when its file could not be begun or written, or the
    // sync failed (the file is then still there, to be finished again or abandoned).
    [[nodiscard]] bool finish(SpoolFile::Flush flush = SpoolFile::Flush::ToDisk);
    // The file that holds every byte received, not finished; nothing when there is none (see above).
    std::unique_ptr<SpoolFile> take() { return std::move(m_file); }
    // Removes what was written: the bytes were not the poll's reply. A piece that comes later begins anew.
    void abandon();

private:
    ReplyContext m_context;
    bool m_received { false };
    // The bytes received while they are all of a plainly empty list so far, and how far they follow it; nothing
    // once they are more (then they are in the file).
    std::optional<size_t> m_emptySoFar { 0 };
    std::string m_held;
    std::unique_ptr<SpoolFile> m_file;
};

} // namespace core
