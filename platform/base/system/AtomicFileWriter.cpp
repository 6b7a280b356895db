#include "base/system/AtomicFileWriter.h"

#include "base/system/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {

    bool writeAll(int fd, std::string_view bytes)
    {
        while (!bytes.empty()) {
            ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(written));
        }
        return true;
    }

    // Makes the rename itself durable.
    void syncFolder(const std::filesystem::path& folder)
    {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        ::fsync(fd);
        ::close(fd);
    }

    std::filesystem::path folderOf(const std::filesystem::path& file)
    {
        return file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    }

} // namespace

std::unique_ptr<AtomicFileWriter> AtomicFileWriter::begin(const std::filesystem::path& target, mode_t mode)
{
    std::filesystem::path folder = folderOf(target);
    // Without the folder the temporary file below cannot be made, and that failure is reported.
    (void)Files::createFolders(folder);
    std::string temporary = (folder / (Files::temporaryPrefix(target) + "XXXXXX")).string();
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (::fchmod(fd, mode) != 0) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return nullptr;
    }
    return std::make_unique<AtomicFileWriter>(Token {}, target, std::move(temporary), fd);
}

AtomicFileWriter::AtomicFileWriter(Token, std::filesystem::path target, std::filesystem::path temporary, int descriptor)
    : m_target(std::move(target))
    , m_temporary(std::move(temporary))
    , m_descriptor(descriptor)
{
}

AtomicFileWriter::~AtomicFileWriter() { close(); }

void AtomicFileWriter::close()
{
    if (m_descriptor >= 0 && ::close(m_descriptor) != 0)
        m_failed = true;
    m_descriptor = -1;
}

bool AtomicFileWriter::append(std::string_view bytes)
{
    if (m_failed || m_descriptor < 0 || !writeAll(m_descriptor, bytes))
        m_failed = true;
    return !m_failed;
}

bool AtomicFileWriter::finish()
{
    if (m_finished)
        return true;
    if (m_descriptor < 0 || ::fsync(m_descriptor) != 0)
        m_failed = true;
    close();
    if (m_failed || ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return false;
    syncFolder(folderOf(m_target));
    m_finished = true;
    return true;
}

void AtomicFileWriter::abandon()
{
    close();
    if (!m_finished)
        ::unlink(m_temporary.c_str());
}

} // namespace base
