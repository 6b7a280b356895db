#include "net/streams/BoundStreamPair.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace net {

// The buffer and the state the two ends share.
class BoundStreamBuffer {
public:
    explicit BoundStreamBuffer(size_t capacity)
        : m_capacity(std::max<size_t>(1, capacity))
    {
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<uint8_t> bytes;
    bool writerClosed { false };
    std::optional<base::Error> writerError;
    bool readerClosed { false };
    std::weak_ptr<BoundInputStream> reader;
    std::weak_ptr<BoundOutputStream> writer;

    size_t capacity() const { return m_capacity; }

    void tellReader(StreamEvent event)
    {
        if (auto end = reader.lock())
            end->notify(event);
    }
    void tellWriter(StreamEvent event)
    {
        if (auto end = writer.lock())
            end->notify(event);
    }

private:
    size_t m_capacity;
};

BoundStreamPair BoundStreamPair::make(size_t bufferSize)
{
    auto buffer = std::make_shared<BoundStreamBuffer>(bufferSize);
    BoundStreamPair pair { std::make_shared<BoundInputStream>(buffer), std::make_shared<BoundOutputStream>(buffer) };
    buffer->reader = pair.input;
    buffer->writer = pair.output;
    return pair;
}

// The reading end.

BoundInputStream::~BoundInputStream()
{
    std::lock_guard lock(m_buffer->mutex);
    m_buffer->readerClosed = true;
}

void BoundInputStream::notify(StreamEvent event) { sendEvent(event); }

void BoundInputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    if (hasBytesAvailable())
        sendEvent(StreamEvent::HasBytesAvailable);
}

void BoundInputStream::close()
{
    {
        std::lock_guard lock(m_buffer->mutex);
        m_buffer->readerClosed = true;
        m_buffer->bytes.clear();
    }
    m_buffer->changed.notify_all();
    if (status() != StreamStatus::Error)
        setStatus(StreamStatus::Closed);
    m_buffer->tellWriter(StreamEvent::ErrorOccurred);
}

ptrdiff_t BoundInputStream::read(uint8_t* buffer, size_t capacity)
{
    StreamStatus current = status();
    if (current == StreamStatus::AtEnd)
        return 0;
    if (current != StreamStatus::Open || capacity == 0)
        return -1;
    size_t count = 0;
    std::optional<base::Error> failure;
    bool atEnd = false;
    {
        std::unique_lock lock(m_buffer->mutex);
        m_buffer->changed.wait(lock, [&] { return !m_buffer->bytes.empty() || m_buffer->writerClosed; });
        count = std::min(capacity, m_buffer->bytes.size());
        std::copy_n(m_buffer->bytes.begin(), count, buffer);
        m_buffer->bytes.erase(m_buffer->bytes.begin(), m_buffer->bytes.begin() + static_cast<ptrdiff_t>(count));
        if (count == 0) {
            failure = m_buffer->writerError;
            atEnd = !failure;
        }
    }
    if (count > 0) {
        m_buffer->tellWriter(StreamEvent::HasSpaceAvailable);
        return static_cast<ptrdiff_t>(count);
    }
    if (failure) {
        fail(*failure);
        return -1;
    }
    if (atEnd) {
        setStatus(StreamStatus::AtEnd);
        sendEvent(StreamEvent::EndEncountered);
    }
    return 0;
}

bool BoundInputStream::hasBytesAvailable() const
{
    if (status() != StreamStatus::Open)
        return status() == StreamStatus::AtEnd || status() == StreamStatus::Error;
    std::lock_guard lock(m_buffer->mutex);
    return !m_buffer->bytes.empty() || m_buffer->writerClosed;
}

// The writing end.

BoundOutputStream::~BoundOutputStream()
{
    // A writer that goes away without closing leaves a body that will never be finished.
    bool wasOpen = false;
    {
        std::lock_guard lock(m_buffer->mutex);
        wasOpen = !m_buffer->writerClosed;
        if (wasOpen) {
            m_buffer->writerClosed = true;
            m_buffer->writerError = base::Error(base::Error::POSIXDomain, EPIPE,
                { { base::Error::LocalizedDescriptionKey,
                    std::string("The body's writer went away before the end") } });
        }
    }
    if (wasOpen) {
        m_buffer->changed.notify_all();
        m_buffer->tellReader(StreamEvent::HasBytesAvailable);
    }
}

void BoundOutputStream::notify(StreamEvent event)
{
    if (event == StreamEvent::ErrorOccurred) {
        if (status() == StreamStatus::Open)
            fail(base::Error(base::Error::POSIXDomain, EPIPE,
                { { base::Error::LocalizedDescriptionKey, std::string("The body's reader has closed") } }));
        return;
    }
    sendEvent(event);
}

void BoundOutputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    if (hasSpaceAvailable())
        sendEvent(StreamEvent::HasSpaceAvailable);
}

void BoundOutputStream::close()
{
    {
        std::lock_guard lock(m_buffer->mutex);
        if (m_buffer->writerClosed)
            return;
        m_buffer->writerClosed = true;
    }
    m_buffer->changed.notify_all();
    if (status() != StreamStatus::Error)
        setStatus(StreamStatus::Closed);
    m_buffer->tellReader(StreamEvent::HasBytesAvailable);
}

void BoundOutputStream::closeWithError(base::Error error)
{
    {
        std::lock_guard lock(m_buffer->mutex);
        if (m_buffer->writerClosed)
            return;
        m_buffer->writerClosed = true;
        m_buffer->writerError = std::move(error);
    }
    m_buffer->changed.notify_all();
    setStatus(StreamStatus::Closed);
    m_buffer->tellReader(StreamEvent::HasBytesAvailable);
}

ptrdiff_t BoundOutputStream::write(const uint8_t* bytes, size_t length)
{
    if (status() != StreamStatus::Open)
        return -1;
    size_t count = 0;
    {
        std::lock_guard lock(m_buffer->mutex);
        if (m_buffer->readerClosed || m_buffer->writerClosed)
            return -1;
        count = std::min(length, m_buffer->capacity() - m_buffer->bytes.size());
        m_buffer->bytes.insert(m_buffer->bytes.end(), bytes, bytes + count);
    }
    if (count > 0) {
        m_buffer->changed.notify_all();
        m_buffer->tellReader(StreamEvent::HasBytesAvailable);
    }
    return static_cast<ptrdiff_t>(count);
}

bool BoundOutputStream::hasSpaceAvailable() const
{
    if (status() != StreamStatus::Open)
        return false;
    std::lock_guard lock(m_buffer->mutex);
    return !m_buffer->readerClosed && m_buffer->bytes.size() < m_buffer->capacity();
}

} // namespace net
