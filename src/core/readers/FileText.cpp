#include "core/readers/FileText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace core {

std::optional<FileText> FileText::open(const std::filesystem::path& file, uintmax_t offset, size_t windowBytes)
{
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    uintmax_t length = static_cast<uintmax_t>(info.st_size);
    return FileText(
        fd, offset, static_cast<size_t>(length > offset ? length - offset : 0), std::max<size_t>(windowBytes, 1));
}

FileText::FileText(int fd, uintmax_t offset, size_t size, size_t windowBytes)
    : m_fd(fd)
    , m_offset(offset)
    , m_size(size)
    , m_windowBytes(windowBytes)
{
}

FileText::FileText(FileText&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_offset(other.m_offset)
    , m_size(other.m_size)
    , m_windowBytes(other.m_windowBytes)
    , m_window(std::move(other.m_window))
    , m_windowStart(other.m_windowStart)
    , m_failed(other.m_failed)
{
}

FileText::~FileText()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

size_t FileText::find_first_of(const char* bytes, size_t from) const
{
    while (from < m_size) {
        (void)(*this)[from];
        size_t found = std::string_view(m_window).find_first_of(bytes, from - m_windowStart);
        if (found != npos)
            return m_windowStart + found;
        from = m_windowStart + m_window.size();
    }
    return npos;
}

std::string FileText::substr(size_t from, size_t count) const
{
    from = std::min(from, m_size);
    count = std::min(count, m_size - from);
    if (from >= m_windowStart && from + count <= m_windowStart + m_window.size())
        return m_window.substr(from - m_windowStart, count);
    std::string part(count, '\0');
    read(from, count, part.data());
    return part;
}

void FileText::moveWindow(size_t at) const
{
    m_windowStart = at;
    if (at >= m_size) {
        m_window.assign(1, '\0'); // a byte past the end reads as NUL
        return;
    }
    m_window.resize(std::min(m_windowBytes, m_size - at));
    read(at, m_window.size(), m_window.data());
}

void FileText::read(size_t from, size_t count, char* into) const
{
    size_t done = 0;
    while (done < count && !m_failed) {
        ssize_t got = ::pread(m_fd, into + done, count - done, static_cast<off_t>(m_offset + from + done));
        if (got < 0 && errno == EINTR)
            continue;
        // Ended early: the file was cut while read.
        if (got <= 0)
            m_failed = true;
        else
            done += static_cast<size_t>(got);
    }
    std::fill(into + done, into + count, '\0');
}

} // namespace core
