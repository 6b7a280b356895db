#include "net/streams/FileInputStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace net {

namespace {

    base::Error posixError(int code, const std::filesystem::path& path)
    {
        return base::Error(base::Error::POSIXDomain, code,
            { { base::Error::LocalizedDescriptionKey, std::string(std::strerror(code)) },
                { base::Error::FilePathKey, path.string() } });
    }

} // namespace

std::shared_ptr<InputStream> InputStream::withFile(std::filesystem::path path)
{
    return std::make_shared<FileInputStream>(std::move(path));
}

FileInputStream::~FileInputStream() { closeDescriptor(); }

void FileInputStream::open()
{
    if (status() != StreamStatus::NotOpen)
        return;
    m_descriptor = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_descriptor < 0) {
        fail(posixError(errno, m_path));
        return;
    }
    setStatus(StreamStatus::Open);
    sendEvent(StreamEvent::OpenCompleted);
    sendEvent(StreamEvent::HasBytesAvailable);
}

void FileInputStream::close()
{
    closeDescriptor();
    if (status() != StreamStatus::Error)
        setStatus(StreamStatus::Closed);
}

void FileInputStream::closeDescriptor()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

ptrdiff_t FileInputStream::read(uint8_t* buffer, size_t capacity)
{
    StreamStatus current = status();
    if (current == StreamStatus::AtEnd)
        return 0;
    if (current != StreamStatus::Open)
        return -1;
    for (;;) {
        ssize_t count = ::read(m_descriptor, buffer, capacity);
        if (count > 0)
            return count;
        if (count == 0) {
            setStatus(StreamStatus::AtEnd);
            return 0;
        }
        if (errno != EINTR) {
            fail(posixError(errno, m_path));
            return -1;
        }
    }
}

bool FileInputStream::hasBytesAvailable() const
{
    StreamStatus current = status();
    return current == StreamStatus::Open || current == StreamStatus::AtEnd || current == StreamStatus::Error;
}

std::shared_ptr<InputStream> FileInputStream::copy() const { return std::make_shared<FileInputStream>(m_path); }

} // namespace net
