// net::FileOutputStream: an output stream writing a file, from its start or after what it holds; a file it
// creates is readable and writable by the user only (0600). Each chunk is written whole, retrying short writes;
// a write that cannot finish fails the stream, so a body is never cut short without an error. The current
// offset tells how many bytes the file holds so far (a paused download resumes from it). One writer; the offset
// may be read from any thread.
#pragma once

#include "net/streams/OutputStream.h"

#include <atomic>

namespace net {

class FileOutputStream final : public OutputStream {
public:
    FileOutputStream(std::filesystem::path path, bool append)
        : m_path(std::move(path))
        , m_append(append)
    {
    }
    ~FileOutputStream() override;

    void open() override;
    void close() override;
    [[nodiscard]] ptrdiff_t write(const uint8_t* bytes, size_t length) override;
    bool hasSpaceAvailable() const override;
    [[nodiscard]] std::optional<uint64_t> fileCurrentOffset() const override;

    // Test seam: the system's write, replaced to provoke short and failed writes.
    using WriteFunction = ssize_t (*)(int descriptor, const void* bytes, size_t length);
    void setWriteFunction(WriteFunction function) { m_write = function; }

private:
    void closeDescriptor();

    std::filesystem::path m_path;
    bool m_append;
    int m_descriptor { -1 };
    std::atomic<uint64_t> m_offset { 0 };
    WriteFunction m_write { nullptr };
};

} // namespace net
