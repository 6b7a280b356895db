// net::FileInputStream: an input stream reading a file from its start; opening a file that cannot be read
// puts the stream in the error status. Reads never wait on anything but the disk. One reader.
#pragma once

#include "net/streams/InputStream.h"

namespace net {

class FileInputStream final : public InputStream {
public:
    explicit FileInputStream(std::filesystem::path path)
        : m_path(std::move(path))
    {
    }
    ~FileInputStream() override;

    void open() override;
    void close() override;
    [[nodiscard]] ptrdiff_t read(uint8_t* buffer, size_t capacity) override;
    bool hasBytesAvailable() const override;
    std::shared_ptr<InputStream> copy() const override;

private:
    void closeDescriptor();

    std::filesystem::path m_path;
    int m_descriptor { -1 };
};

} // namespace net
