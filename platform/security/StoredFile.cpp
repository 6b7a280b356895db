#include "security/StoredFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace security {

namespace {

    std::string systemReason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

} // namespace

StoredFile::ReadResult StoredFile::read(const std::filesystem::path& file, size_t maxBytes)
{
    ReadResult result;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.outcome = errno == ENOENT ? ReadResult::Outcome::Missing : ReadResult::Outcome::Failed;
        result.reason = systemReason("open");
        return result;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        result.reason = systemReason("stat");
        ::close(fd);
        return result;
    }
    result.stamp = FileStamp::of(info);
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        result.outcome = ReadResult::Outcome::TooLarge;
        ::close(fd);
        return result;
    }
    char buffer[16384];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            result.reason = systemReason("read");
            ::close(fd);
            return result;
        }
        if (got == 0)
            break;
        if (result.bytes.size() + static_cast<size_t>(got) > maxBytes) {
            result.outcome = ReadResult::Outcome::TooLarge;
            ::close(fd);
            return result;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    result.outcome = ReadResult::Outcome::Read;
    return result;
}

std::filesystem::path StoredFile::moveAside(const std::filesystem::path& file, std::string* reason)
{
    for (int n = 1; n <= 1000; ++n) {
        std::filesystem::path aside = file;
        aside += ".corrupt-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) {
            *reason = systemReason("rename");
            return {};
        }
    }
    *reason = "no free name to move the file aside";
    return {};
}

} // namespace security
