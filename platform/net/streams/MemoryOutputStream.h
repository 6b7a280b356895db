// net::MemoryOutputStream: an output stream collecting everything written to it in memory; always has space.
// Written on one thread, its contents read on another once writing is over (the lock covers both).
#pragma once

#include "net/streams/OutputStream.h"

#include <mutex>

namespace net {

class MemoryOutputStream final : public OutputStream {
public:
    void open() override;
    void close() override;
    [[nodiscard]] ptrdiff_t write(const uint8_t* bytes, size_t length) override;
    // Makes room at once for the length a reply announces, up to a bound (the announcement may be false; a
    // longer body still grows as it comes), instead of growing chunk by chunk.
    static constexpr uint64_t MaximumReservedBytes = uint64_t(1) << 20;
    void expectLength(uint64_t bytes);
    bool hasSpaceAvailable() const override;
    [[nodiscard]] std::optional<base::Data> dataWrittenToMemory() const override;
    [[nodiscard]] std::optional<base::Data> takeDataWrittenToMemory() override;

private:
    mutable std::mutex m_dataMutex;
    base::Data m_data;
};

} // namespace net
