#include "net/streams/DataInputStream.h"

#include <algorithm>
#include <cstring>

namespace net {

std::shared_ptr<InputStream> InputStream::withData(base::Data data)
{
    return std::make_shared<DataInputStream>(std::move(data));
}

void DataInputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    sendEvent(StreamEvent::HasBytesAvailable);
}

void DataInputStream::close() { setStatus(StreamStatus::Closed); }

ptrdiff_t DataInputStream::read(uint8_t* buffer, size_t capacity)
{
    StreamStatus current = status();
    if (current != StreamStatus::Open && current != StreamStatus::AtEnd)
        return -1;
    size_t count = std::min(capacity, m_data.size() - m_offset);
    if (count == 0) {
        setStatus(StreamStatus::AtEnd);
        return 0;
    }
    std::memcpy(buffer, m_data.data() + m_offset, count);
    m_offset += count;
    return static_cast<ptrdiff_t>(count);
}

bool DataInputStream::hasBytesAvailable() const
{
    StreamStatus current = status();
    return current == StreamStatus::Open || current == StreamStatus::AtEnd;
}

std::shared_ptr<InputStream> DataInputStream::copy() const { return std::make_shared<DataInputStream>(m_data); }

} // namespace net
