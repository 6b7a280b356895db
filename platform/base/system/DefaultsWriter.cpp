#include "base/system/DefaultsWriter.h"

#include "base/system/Files.h"
#include "base/system/Log.h"

#include <utility>

namespace base {

DefaultsWriter::DefaultsWriter(std::filesystem::path file, mode_t mode, std::shared_ptr<DispatchQueue> queue)
    : m_file(std::move(file))
    , m_mode(mode)
    , m_queue(std::move(queue))
{
}

void DefaultsWriter::submit(std::string bytes, When when)
{
    {
        std::lock_guard lock(m_mutex);
        m_waiting = std::move(bytes);
        if (when == When::AtNextFlush || std::exchange(m_queued, true))
            return;
    }
    m_queue->async([self = shared_from_this()] { self->writeInBackground(); });
}

bool DefaultsWriter::flush()
{
    std::unique_lock lock(m_mutex);
    auto bytes = takeWaiting(lock);
    return !bytes || write(lock, std::move(*bytes));
}

void DefaultsWriter::writeInBackground()
{
    std::unique_lock lock(m_mutex);
    m_queued = false;
    // A flush may have written the bytes already.
    if (auto bytes = takeWaiting(lock); bytes && !write(lock, std::move(*bytes)))
        log("user defaults: cannot write " + m_file.string() + "; trying again at the next save");
}

std::optional<std::string> DefaultsWriter::takeWaiting(std::unique_lock<std::mutex>& lock)
{
    m_writeEnded.wait(lock, [this] { return !m_writing; });
    return std::exchange(m_waiting, std::nullopt);
}

bool DefaultsWriter::write(std::unique_lock<std::mutex>& lock, std::string bytes)
{
    m_writing = true;
    lock.unlock();
    bool written = Files::writeAtomically(m_file, bytes, m_mode);
    lock.lock();
    m_writing = false;
    if (!written && !m_waiting)
        m_waiting = std::move(bytes);
    m_writeEnded.notify_all();
    return written;
}

} // namespace base
