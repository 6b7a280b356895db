#include "net/streams/MemoryOutputStream.h"

#include <algorithm>
#include <utility>

namespace net {

std::shared_ptr<OutputStream> OutputStream::toMemory() { return std::make_shared<MemoryOutputStream>(); }

void MemoryOutputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    sendEvent(StreamEvent::HasSpaceAvailable);
}

void MemoryOutputStream::close() { setStatus(StreamStatus::Closed); }

ptrdiff_t MemoryOutputStream::write(const uint8_t* bytes, size_t length)
{
    if (status() != StreamStatus::Open)
        return -1;
    std::lock_guard lock(m_dataMutex);
    m_data.insert(m_data.end(), bytes, bytes + length);
    return static_cast<ptrdiff_t>(length);
}

void MemoryOutputStream::expectLength(uint64_t bytes)
{
    std::lock_guard lock(m_dataMutex);
    uint64_t room = m_data.size() + std::min(bytes, MaximumReservedBytes);
    if (room > m_data.capacity())
        m_data.reserve(static_cast<size_t>(room));
}

bool MemoryOutputStream::hasSpaceAvailable() const { return status() == StreamStatus::Open; }

std::optional<base::Data> MemoryOutputStream::dataWrittenToMemory() const
{
    std::lock_guard lock(m_dataMutex);
    return m_data;
}

std::optional<base::Data> MemoryOutputStream::takeDataWrittenToMemory()
{
    std::lock_guard lock(m_dataMutex);
    return std::exchange(m_data, base::Data());
}

} // namespace net
