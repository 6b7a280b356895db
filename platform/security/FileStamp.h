// security::FileStamp: what the file system says of one file at one moment (device, inode, size, change and
// modification times), so that a copy read from the file can be told still current without reading it again.
// Pure values, any thread.
//
//   auto before = security::FileStamp::ofPath(file);
//   if (before && before == security::FileStamp::ofPath(file)) useKeptCopy();
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace security {

struct FileStamp {
    dev_t device {};
    ino_t inode {};
    off_t size {};
    timespec modified {};
    timespec changed {};

    static FileStamp of(const struct stat& info);
    // The stamp of the file at the path, or nothing when it cannot be had (missing, not reachable).
    static std::optional<FileStamp> ofPath(const std::filesystem::path& file);

    // Whether both times lie at least `settle` before `instant`, so that any later change of the file, even in
    // place and within the file system's timestamp granularity, gives it a different change time. Times in
    // whole seconds (or tens of milliseconds) tell a coarse file system, which is given three seconds at least.
    bool settledBefore(std::chrono::system_clock::time_point instant, std::chrono::nanoseconds settle) const;

    bool operator==(const FileStamp& other) const;
};

} // namespace security
