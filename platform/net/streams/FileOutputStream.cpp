#include "net/streams/FileOutputStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace net {

namespace {

    base::Error writeError(int code, const std::filesystem::path& path)
    {
        return base::Error(base::Error::POSIXDomain, code,
            { { base::Error::LocalizedDescriptionKey, std::string(std::strerror(code)) },
                { base::Error::FilePathKey, path.string() } });
    }

} // namespace

std::shared_ptr<OutputStream> OutputStream::toFile(std::filesystem::path path, bool append)
{
    return std::make_shared<FileOutputStream>(std::move(path), append);
}

FileOutputStream::~FileOutputStream() { closeDescriptor(); }

void FileOutputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (m_append ? O_APPEND : O_TRUNC);
    // A downloaded file (a voice message) is the user's alone, as the rest of the data root is.
    m_descriptor = ::open(m_path.c_str(), flags, 0600);
    if (m_descriptor < 0) {
        fail(writeError(errno, m_path));
        return;
    }
    struct stat info { };
    if (m_append && fstat(m_descriptor, &info) == 0)
        m_offset = static_cast<uint64_t>(info.st_size);
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    sendEvent(StreamEvent::HasSpaceAvailable);
}

void FileOutputStream::close()
{
    closeDescriptor();
    if (status() != StreamStatus::Error)
        setStatus(StreamStatus::Closed);
}

void FileOutputStream::closeDescriptor()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

ptrdiff_t FileOutputStream::write(const uint8_t* bytes, size_t length)
{
    if (status() != StreamStatus::Open)
        return -1;
    WriteFunction writeSome = m_write ? m_write : ::write;
    size_t written = 0;
    while (written < length) {
        ssize_t count = writeSome(m_descriptor, bytes + written, length - written);
        if (count > 0) {
            written += static_cast<size_t>(count);
            m_offset += static_cast<uint64_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            // A write that takes nothing would loop for ever; treat it as the disk being full.
            fail(writeError(count < 0 ? errno : ENOSPC, m_path));
            return -1;
        }
    }
    return static_cast<ptrdiff_t>(length);
}

bool FileOutputStream::hasSpaceAvailable() const { return status() == StreamStatus::Open; }

std::optional<uint64_t> FileOutputStream::fileCurrentOffset() const { return m_offset.load(); }

} // namespace net
