// net::Stream: what input and output streams share: a status, the error that stopped the stream, and events
// (opened, bytes available, space available, error, end) for a delegate. A stream sends events only while it
// is scheduled, and each event reaches the delegate through the scheduler it was given: the main run loop
// for the multipart body's writer and for a request body the connection reads. A delegate
// that has gone is skipped. Status and error may be read from any thread.
//
//   stream->setDelegate(weak_from_this());
//   stream->schedule([](net::Stream::Task task) { base::RunLoop::main().post(std::move(task)); });
//   stream->open();
#pragma once

#include "base/values/Error.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace net {

class Stream;

enum class StreamStatus { NotOpen, Opening, Open, Reading, Writing, AtEnd, Closed, Error };

enum class StreamEvent {
    OpenCompleted = 1,
    HasBytesAvailable = 2,
    HasSpaceAvailable = 4,
    ErrorOccurred = 8,
    EndEncountered = 16
};

class StreamDelegate {
public:
    virtual ~StreamDelegate() = default;
    virtual void streamHandleEvent(Stream& stream, StreamEvent event) = 0;
};

class Stream : public std::enable_shared_from_this<Stream> {
public:
    using Task = std::function<void()>;
    using Scheduler = std::function<void(Task)>;

    virtual ~Stream() = default;

    virtual void open() = 0;
    virtual void close() = 0;

    StreamStatus status() const;
    [[nodiscard]] std::optional<base::Error> streamError() const;

    void setDelegate(std::weak_ptr<StreamDelegate> delegate);
    void schedule(Scheduler scheduler);
    void unschedule();

protected:
    void setStatus(StreamStatus status);
    // Moves to the error status, keeps the first error and tells the delegate.
    void fail(base::Error error);
    // Posts the event to the scheduler, if any; the delegate is looked up when it runs.
    void sendEvent(StreamEvent event);

private:
    mutable std::mutex m_mutex;
    // Read and set without the lock: a stream's status is asked for on every chunk it takes.
    std::atomic<StreamStatus> m_status { StreamStatus::NotOpen };
    // Whether a scheduler is set, so that an event nobody is scheduled for costs no lock.
    std::atomic<bool> m_scheduled { false };
    std::optional<base::Error> m_error;
    std::weak_ptr<StreamDelegate> m_delegate;
    Scheduler m_scheduler;
};

} // namespace net
