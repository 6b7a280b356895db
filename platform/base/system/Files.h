// base::Files: whole-file reads and crash-safe writes. A write goes to a temporary file beside the target
// (".<name>.tmp-XXXXXX"), is flushed to disk, and replaces the target by rename, so a reader sees the old
// file or the new one, never a part; a crash leaves at most a stray temporary file, which
// removeStaleTemporaries clears. Used by user defaults, the keychain store and every other file that must
// survive a crash. Safe from any thread (writers of one target are serialised by the caller).
//
//   if (!base::Files::writeAtomically(path, bytes, 0600)) base::log("keychain: cannot save");
//   std::optional<std::string> text = base::Files::read(path);
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace base {

class Files {
public:
    // The whole file; nothing when it cannot be read.
    [[nodiscard]] static std::optional<std::string> read(const std::filesystem::path& path);

    // Creates the folder and every missing one above it, each private to the user (0700), as everything under
    // the data root is; folders already there keep their mode. False when the folder is not there after.
    [[nodiscard]] static bool createFolders(const std::filesystem::path& folder);

    // Replaces the file's contents atomically, creating its folder when needed (createFolders); the new file gets
    // `mode`. False, with the target untouched, on any failure.
    [[nodiscard]] static bool writeAtomically(
        const std::filesystem::path& path, std::string_view bytes, mode_t mode = 0644);

    // Writes all of `bytes` to `fd`, going on after an interrupted or partial write; false on an error.
    [[nodiscard]] static bool writeAll(int fd, std::string_view bytes);
    // Makes the renames in `folder` durable (a failure is not reported: the renames themselves stand).
    static void syncFolder(const std::filesystem::path& folder);

    // Removes temporary files that an interrupted write of `path` left behind.
    static void removeStaleTemporaries(const std::filesystem::path& path);

    // The name a temporary file of `path` starts with.
    static std::string temporaryPrefix(const std::filesystem::path& path);
    // The file that `file`, a temporary file left by an interrupted write, was to replace; nothing when `file`
    // is not named as one.
    [[nodiscard]] static std::optional<std::filesystem::path> temporaryTarget(const std::filesystem::path& file);
};

} // namespace base
