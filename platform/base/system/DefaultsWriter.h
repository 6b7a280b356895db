// base::DefaultsWriter: writes the bytes of one defaults file on a serial background queue, so that the
// thread that changed the settings does not wait for the disk. Bytes handed over replace those still waiting
// (the latest state wins); writes are atomic (Files::writeAtomically) and made one at a time, in the order the
// bytes were handed over. flush() writes what still waits on the calling thread: a normal exit and a caller
// that must know the file is written use it. A background write that fails is logged and its bytes wait for
// the next flush, unless newer ones came meanwhile. Any thread.
//
//   auto writer = std::make_shared<base::DefaultsWriter>(file, 0600, queue);
//   writer->submit(base::DefaultsFile::write(*values), base::DefaultsWriter::When::InBackground);
//   bool written = writer->flush();
#pragma once

#include "base/loop/DispatchQueue.h"

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

namespace base {

class DefaultsWriter : public std::enable_shared_from_this<DefaultsWriter> {
public:
    DefaultsWriter(std::filesystem::path file, mode_t mode, std::shared_ptr<DispatchQueue> queue);

    enum class When { InBackground, AtNextFlush };
    // Hands the bytes over, to be written on the queue or by the next flush().
    void submit(std::string bytes, When when);
    // Waits for a write in progress, then writes the bytes still waiting; true when the file holds the last
    // bytes handed over (also when none were).
    [[nodiscard]] bool flush();

private:
    void writeInBackground();
    // Takes the waiting bytes once no write is in progress; the lock is held on entry and on return.
    std::optional<std::string> takeWaiting(std::unique_lock<std::mutex>& lock);
    // Writes the taken bytes outside the lock; failed bytes wait again unless newer ones came.
    bool write(std::unique_lock<std::mutex>& lock, std::string bytes);

    const std::filesystem::path m_file;
    const mode_t m_mode;
    const std::shared_ptr<DispatchQueue> m_queue;
    std::mutex m_mutex;
    std::condition_variable m_writeEnded;
    std::optional<std::string> m_waiting;
    bool m_queued { false };
    bool m_writing { false };
};

} // namespace base
