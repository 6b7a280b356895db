// net::DataInputStream: an input stream over bytes held in memory; never waits. Any thread, one reader.
#pragma once

#include "net/streams/InputStream.h"

namespace net {

class DataInputStream final : public InputStream {
public:
    explicit DataInputStream(base::Data data)
        : m_data(std::move(data))
    {
    }

    void open() override;
    void close() override;
    [[nodiscard]] ptrdiff_t read(uint8_t* buffer, size_t capacity) override;
    bool hasBytesAvailable() const override;
    std::shared_ptr<InputStream> copy() const override;

private:
    base::Data m_data;
    size_t m_offset { 0 };
};

} // namespace net
