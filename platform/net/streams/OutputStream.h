// net::OutputStream: where a reply's body goes: into memory (the default of a request operation), into a
// file, or into the writing end of a bound pair. Memory and file streams take each chunk whole or fail;
// the writing end of a bound pair takes what fits. One writer at a time.
//
//   auto sink = net::OutputStream::toFile(path, false);
//   sink->open();
//   if (sink->write(bytes, n) < 0) report(*sink->streamError());
#pragma once

#include "base/values/Value.h"
#include "net/streams/Stream.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace net {

class OutputStream : public Stream {
public:
    // The count written, or -1 on failure (streamError() tells why).
    [[nodiscard]] virtual ptrdiff_t write(const uint8_t* bytes, size_t length) = 0;
    virtual bool hasSpaceAvailable() const = 0;
    // What a memory stream has collected; nothing for other streams.
    [[nodiscard]] virtual std::optional<base::Data> dataWrittenToMemory() const { return std::nullopt; }
    // The same, moved out of a stream whose writing is over: the stream keeps nothing.
    [[nodiscard]] virtual std::optional<base::Data> takeDataWrittenToMemory() { return dataWrittenToMemory(); }
    // Where a file stream writes next; nothing for other streams.
    [[nodiscard]] virtual std::optional<uint64_t> fileCurrentOffset() const { return std::nullopt; }

    static std::shared_ptr<OutputStream> toMemory();
    // `append` keeps what the file holds and writes after it; otherwise the file is emptied at open.
    static std::shared_ptr<OutputStream> toFile(std::filesystem::path path, bool append);
};

} // namespace net
