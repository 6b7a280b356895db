// net::InputStream: a source of bytes read in chunks: a request body, a part of a multipart body. Made over
// data, over a file, or as the reading end of a bound pair. A read waits for bytes where the source makes
// it wait; callers that must not wait (the main thread) ask hasBytesAvailable first. One reader at a time.
//
//   auto body = net::InputStream::withData(bytes);
//   body->open();
//   uint8_t buffer[4096]; ptrdiff_t n = body->read(buffer, sizeof buffer); // 0 at the end, -1 on error
#pragma once

#include "base/values/Value.h"
#include "net/streams/Stream.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace net {

class InputStream : public Stream {
public:
    // The count read (at least 1), 0 at the end, -1 on failure (streamError() tells why).
    [[nodiscard]] virtual ptrdiff_t read(uint8_t* buffer, size_t capacity) = 0;
    // Whether a read now returns without waiting (bytes, the end or an error).
    virtual bool hasBytesAvailable() const = 0;
    // A new, unopened stream over the same source, for sending a body again; null when the source can be read
    // only once.
    virtual std::shared_ptr<InputStream> copy() const { return nullptr; }

    static std::shared_ptr<InputStream> withData(base::Data data);
    static std::shared_ptr<InputStream> withFile(std::filesystem::path path);
};

} // namespace net
