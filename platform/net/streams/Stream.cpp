#include "net/streams/Stream.h"

namespace net {

StreamStatus Stream::status() const
{
    std::lock_guard lock(m_mutex);
    return m_status;
}

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
}

void Stream::unschedule()
{
    std::lock_guard lock(m_mutex);
    m_scheduler = nullptr;
}

void Stream::setStatus(StreamStatus status)
{
    std::lock_guard lock(m_mutex);
    m_status = status;
}

void Stream::fail(base::Error error)
{
    {
        std::lock_guard lock(m_mutex);
        m_status = StreamStatus::Error;
        if (!m_error)
            m_error = std::move(error);
    }
    sendEvent(StreamEvent::ErrorOccurred);
}

void Stream::sendEvent(StreamEvent event)
{
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
