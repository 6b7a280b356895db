#include "core/messages/SpoolFile.h"

#include "base/system/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

    // A launch taking back the files of dead writers may take a new file between its making and its lock; it is
    // then made again, a few times at most.
    constexpr int OpenAttempts = 3;

    // Whether `fd` is still the file named `path` (not renamed or removed by another since it was opened).
    bool stillNamed(int fd, const std::filesystem::path& path)
    {
        struct stat held {
        }, named {};
        return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino;
    }

    int lock(int fd, int how)
    {
        int result;
        do
            result = ::flock(fd, how);
        while (result != 0 && errno == EINTR);
        return result;
    }

} // namespace

SpoolFile::SpoolFile(int fd, std::filesystem::path temporary, std::filesystem::path target)
    : m_fd(fd)
    , m_temporary(std::move(temporary))
    , m_target(std::move(target))
{
}

SpoolFile::~SpoolFile() { abandon(); }

std::unique_ptr<SpoolFile> SpoolFile::open(const std::filesystem::path& target, std::string_view firstBytes)
{
    std::filesystem::path folder = target.parent_path();
    if (!base::Files::createFolders(folder))
        return nullptr;
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        std::string temporary = (folder / (base::Files::temporaryPrefix(target) + "XXXXXX")).string();
        int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        // A file system without locks still takes the reply; only a launch beside this run could then take the
        // file early, and it takes it whole or stores what it holds.
        (void)lock(fd, LOCK_EX);
        if (!stillNamed(fd, temporary)) {
            ::close(fd);
            continue;
        }
        std::unique_ptr<SpoolFile> file(new SpoolFile(fd, std::move(temporary), target));
        return file->append(firstBytes) ? std::move(file) : nullptr;
    }
    return nullptr;
}

std::unique_ptr<SpoolFile> SpoolFile::takeOver(const std::filesystem::path& temporary)
{
    auto target = base::Files::temporaryTarget(temporary);
    if (!target)
        return nullptr;
    // Not blocking, and not through a link: only a file of the folder's own is taken.
    int fd = ::open(temporary.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat status { };
    bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    // A lock held means a live writer; any other failure to lock is a file system without locks, on which only a
    // launch takes files back.
    bool free = lock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
    if (!regular || !free || !stillNamed(fd, temporary) || ::lseek(fd, 0, SEEK_END) < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SpoolFile>(new SpoolFile(fd, temporary, *target));
}

bool SpoolFile::append(std::string_view bytes)
{
    if (m_fd < 0)
        return false;
    if (base::Files::writeAll(m_fd, bytes))
        return true;
    abandon();
    return false;
}

std::filesystem::path SpoolFile::finish(Flush flush)
{
    if (m_fd < 0)
        return {};
    // The bytes are in the file all the same; only the flush is to be tried again.
    if (flush == Flush::ToDisk && ::fsync(m_fd) != 0)
        return {};
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        abandon();
        return {};
    }
    if (flush == Flush::ToDisk)
        base::Files::syncFolder(m_target.parent_path());
    close();
    return m_target;
}

void SpoolFile::abandon()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so that no launch takes it in between.
    ::unlink(m_temporary.c_str());
    close();
}

uintmax_t SpoolFile::size() const
{
    struct stat status { };
    return m_fd >= 0 && ::fstat(m_fd, &status) == 0 ? static_cast<uintmax_t>(status.st_size) : 0;
}

void SpoolFile::close()
{
    ::close(m_fd);
    m_fd = -1;
}

} // namespace core
