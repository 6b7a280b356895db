// base::AtomicFileWriter: a file written in pieces that takes its name only once whole, as Files::writeAtomically
// writes one at once: the pieces go to a temporary file beside the target (named as Files::temporaryPrefix
// says, so that Files::temporaryTarget finds the target again), and finish() flushes it to disk and renames it
// over the target. Until then a reader sees the old file or none. A writer dropped without finish() or abandon()
// leaves its temporary file where it is, with every piece it was given: the bytes already written outlive the
// writer, as they outlive a process that is killed. One thread at a time (a writer may move between threads).
//
//   auto writer = base::AtomicFileWriter::begin(path, 0600);
//   if (writer && writer->append(piece) && writer->finish()) done();
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <sys/types.h>

namespace base {

class AtomicFileWriter {
    struct Token { };

public:
    // Makes the temporary file (and the target's folder when missing, as Files::createFolders does), with
    // `mode`; nothing when it cannot be made.
    static std::unique_ptr<AtomicFileWriter> begin(const std::filesystem::path& target, mode_t mode);
    AtomicFileWriter(Token, std::filesystem::path target, std::filesystem::path temporary, int descriptor);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Writes the piece whole after the others; false when it, or any piece before it, could not be written.
    bool append(std::string_view bytes);
    // Flushes the file to disk, gives it the target's name and makes the rename durable; false when a piece,
    // the flush or the rename failed (the temporary file then stays, for abandon()).
    [[nodiscard]] bool finish();
    // Removes the temporary file (nothing once finished).
    void abandon();

    const std::filesystem::path& target() const { return m_target; }
    const std::filesystem::path& temporaryFile() const { return m_temporary; }

private:
    void close();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_descriptor;
    bool m_failed { false };
    bool m_finished { false };
};

} // namespace base
