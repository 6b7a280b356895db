// core::SpoolFile: a file being written into the message spool under a temporary name (".<name>.tmp-XXXXXX"
// beside the name it will take, mode 0600), locked (flock, exclusive) for as long as it is open. The kernel drops
// the lock when the writer ends, however it ends, so a launch tells a file whose writer has died (kill, crash),
// whatever the process id in its name, from one still being written: takeOver() gets only the former. The bytes go
// to disk as they are appended; finish() flushes them and gives the file its name, abandon() removes it, and a
// file destroyed unfinished is abandoned. A finish whose flush fails leaves the file as it was, locked and whole,
// to be finished again: a kill then leaves it for the next launch. MessageSpool::beginReply() opens one for a poll's
// reply, its first line written; a caller may append the body as it arrives. One thread at a time for one file.
//
//   auto file = core::MessageSpool::beginReply(context);
//   bool kept = file && file->append(chunk) && !file->finish().empty();
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace core {

class SpoolFile {
public:
    // Whether finish() waits until the bytes are on disk (fsync), or leaves them to the kernel (a last try when
    // the disk refuses the flush).
    enum class Flush { ToDisk, LeftToTheKernel };

    // A new locked temporary file for `target`, its folder made when missing, holding `firstBytes`; nothing
    // when it cannot be made or written.
    static std::unique_ptr<SpoolFile> open(const std::filesystem::path& target, std::string_view firstBytes);
    // The temporary file `temporary` with its lock, when the process that wrote it has ended (its lock is free)
    // and it is still there; it is then finished or abandoned as a file of one's own. Nothing while a writer
    // holds it.
    static std::unique_ptr<SpoolFile> takeOver(const std::filesystem::path& temporary);

    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;
    ~SpoolFile();

    // Writes the bytes after those already there; false when the write failed (the file is then abandoned).
    bool append(std::string_view bytes);
    // Flushes the bytes as `flush` says and renames the file to its target (made durable too when flushing);
    // the target, or an empty path when that failed: the file is then left open when the flush failed, else
    // abandoned.
    std::filesystem::path finish(Flush flush = Flush::ToDisk);
    // Removes the file and lets go of it.
    void abandon();

    // Whether the file is still held: neither finished nor abandoned.
    bool isOpen() const { return m_fd >= 0; }
    // Lets go of the file without removing it, for a later launch to take back.
    void release()
    {
        if (isOpen())
            close();
    }
    // What the file holds so far, in bytes.
    uintmax_t size() const;
    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    const std::filesystem::path& target() const { return m_target; }
    // Gives the file another name to take (a taken-over file whose target is there already).
    void retarget(std::filesystem::path target) { m_target = std::move(target); }

private:
    SpoolFile(int fd, std::filesystem::path temporary, std::filesystem::path target);
    void close();

    int m_fd;
    std::filesystem::path m_temporary;
    std::filesystem::path m_target;
};

} // namespace core
