#include "security/PrivateFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace security {

namespace {

    std::string systemReason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

    bool writeAll(int fd, std::string_view content)
    {
        while (!content.empty()) {
            ssize_t written = ::write(fd, content.data(), content.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            content.remove_prefix(static_cast<size_t>(written));
        }
        return true;
    }

    // Makes a rename durable: the folder's entry must reach the disk too.
    void syncFolder(const std::filesystem::path& folder)
    {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return;
        ::fsync(fd);
        ::close(fd);
    }

} // namespace

PrivateFile::ReadResult PrivateFile::read(const std::filesystem::path& file, size_t maxBytes)
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

bool PrivateFile::replace(const std::filesystem::path& file, std::string_view content, std::string* reason)
{
    std::filesystem::path folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        *reason = "cannot make " + folder.string() + ": " + error.message();
        return false;
    }
    std::string temporary = (folder / (file.filename().string() + ".tmp-XXXXXX")).string();
    // mkstemp creates the file with mode 0600, so the secret is never readable by others, even briefly.
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *reason = systemReason("create");
        return false;
    }
    std::string failure;
    if (!writeAll(fd, content))
        failure = systemReason("write");
    else if (::fsync(fd) != 0)
        failure = systemReason("flush");
    if (::close(fd) != 0 && failure.empty())
        failure = systemReason("close");
    if (failure.empty() && ::rename(temporary.c_str(), file.c_str()) != 0)
        failure = systemReason("rename");
    if (!failure.empty()) {
        ::unlink(temporary.c_str());
        *reason = failure;
        return false;
    }
    syncFolder(folder);
    return true;
}

std::filesystem::path PrivateFile::moveAside(const std::filesystem::path& file, std::string* reason)
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
