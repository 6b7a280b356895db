#include "base/system/Files.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace base {

namespace {

    // The file's bytes in one read of the size it had when opened, then on to its end should it have grown.
    std::optional<std::string> readAll(int fd, size_t expectedBytes)
    {
        std::string bytes(expectedBytes + 1, '\0');
        size_t filled = 0;
        while (true) {
            if (filled == bytes.size())
                bytes.resize(bytes.size() * 2);
            ssize_t count = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (count == 0)
                break;
            if (count < 0) {
                if (errno == EINTR)
                    continue;
                return std::nullopt;
            }
            filled += static_cast<size_t>(count);
        }
        bytes.resize(filled);
        return bytes;
    }

} // namespace

bool Files::writeAll(int fd, std::string_view bytes)
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

void Files::syncFolder(const std::filesystem::path& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<std::string> Files::read(const std::filesystem::path& path)
{
    // Not blocking: something other than a file in its place (a FIFO) is refused, not waited on.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat status { };
    std::optional<std::string> bytes;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        bytes = readAll(fd, static_cast<size_t>(status.st_size));
    ::close(fd);
    return bytes;
}

std::string Files::temporaryPrefix(const std::filesystem::path& path)
{
    return "." + path.filename().string() + ".tmp-";
}

bool Files::createFolders(const std::filesystem::path& folder)
{
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error))
        return true;
    if (folder.has_parent_path() && folder.parent_path() != folder && !createFolders(folder.parent_path()))
        return false;
    // Another thread or process may create it meanwhile; being there is what counts.
    return ::mkdir(folder.c_str(), 0700) == 0 || std::filesystem::is_directory(folder, error);
}

bool Files::writeAtomically(const std::filesystem::path& path, std::string_view bytes, mode_t mode)
{
    std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    // Without the folder the temporary file below cannot be made, and that failure is reported.
    (void)createFolders(folder);
    std::string temporary = (folder / (temporaryPrefix(path) + "XXXXXX")).string();
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
        syncFolder(folder);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

std::optional<std::filesystem::path> Files::temporaryTarget(const std::filesystem::path& file)
{
    // The prefix of the target's name, then the six characters mkstemp put in place of "XXXXXX".
    constexpr size_t unique = 6;
    const size_t framing = temporaryPrefix({}).size();
    std::string name = file.filename().string();
    if (name.size() <= framing + unique)
        return std::nullopt;
    std::filesystem::path target = file.parent_path() / name.substr(1, name.size() - framing - unique);
    if (!name.starts_with(temporaryPrefix(target)))
        return std::nullopt;
    return target;
}

void Files::removeStaleTemporaries(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    std::string prefix = temporaryPrefix(path);
    std::vector<std::filesystem::path> stale;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().filename().string().starts_with(prefix))
            stale.push_back(it->path());
    for (const auto& file : stale)
        std::filesystem::remove(file, error);
}

} // namespace base
