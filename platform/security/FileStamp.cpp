#include "security/FileStamp.h"

#include <algorithm>

namespace security {

namespace {

    constexpr long CoarseTick = 10'000'000;
    constexpr std::chrono::nanoseconds CoarseSettle = std::chrono::seconds(3);

    std::chrono::system_clock::time_point instantOf(const timespec& time)
    {
        return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec)));
    }

    bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

} // namespace

FileStamp FileStamp::of(const struct stat& info)
{
    return { info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim };
}

std::optional<FileStamp> FileStamp::ofPath(const std::filesystem::path& file)
{
    struct stat info { };
    if (::stat(file.c_str(), &info) != 0)
        return std::nullopt;
    return of(info);
}

bool FileStamp::settledBefore(std::chrono::system_clock::time_point instant, std::chrono::nanoseconds settle) const
{
    bool coarse = modified.tv_nsec % CoarseTick == 0 && changed.tv_nsec % CoarseTick == 0;
    auto margin = coarse ? std::max(settle, CoarseSettle) : settle;
    return instantOf(modified) <= instant - margin && instantOf(changed) <= instant - margin;
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size && sameTime(modified, other.modified)
        && sameTime(changed, other.changed);
}

} // namespace security
