#include "net/streams/Stream.h"

namespace net {

StreamStatus Stream::status() const { return m_status.load(); }

std::optional<base::Error> Stream::streamError() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void Stream::setDelegate(std::weak_ptr<StreamDelegate> delegate)
{
    std::lock_guard lock(m_mutex);
    m_delegate = std::move(delegate);
}

void Stream::schedule(Scheduler scheduler)
{
    std::lock_guard lock(m_mutex);
    m_scheduler = std::move(scheduler);
    m_scheduled = m_scheduler != nullptr;
}

void Stream::unschedule()
{
    std::lock_guard lock(m_mutex);
    m_scheduler = nullptr;
    m_scheduled = false;
}

void Stream::setStatus(StreamStatus status) { m_status = status; }

void Stream::fail(base::Error error)
{
    {
        // The error is in place before the status tells of it.
        std::lock_guard lock(m_mutex);
        if (!m_error)
            m_error = std::move(error);
        m_status = StreamStatus::Error;
    }
    sendEvent(StreamEvent::ErrorOccurred);
}

void Stream::sendEvent(StreamEvent event)
{
    if (!m_scheduled)
        return;
    Scheduler scheduler;
    {
        std::lock_guard lock(m_mutex);
        scheduler = m_scheduler;
    }
    if (!scheduler)
        return;
    scheduler([weak = weak_from_this(), event] {
        auto self = weak.lock();
        if (!self)
            return;
        std::shared_ptr<StreamDelegate> delegate;
        {
            std::lock_guard lock(self->m_mutex);
            delegate = self->m_delegate.lock();
        }
        if (delegate)
            delegate->streamHandleEvent(*self, event);
    });
}

} // namespace net
