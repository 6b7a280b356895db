// Reading and replacing a file that only its owner may read (mode 0600), such as the keychain file.
// A replacement is atomic: the new content goes to a new file beside the old one, is flushed to disk and
// renamed over it, so readers see the old content or the new one, never a mix, whatever happens mid-write.
// Failures come back with the system's reason. Thread: any (callers serialize writes to one file).
//
//   auto read = security::PrivateFile::read(path, 8 << 20);
//   std::string reason;
//   if (!security::PrivateFile::replace(path, text, &reason)) base::log("cannot save: " + reason);
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace security {

class PrivateFile {
public:
    struct ReadResult {
        enum class Outcome { Read, Missing, TooLarge, Failed } outcome { Outcome::Failed };
        std::string bytes;
        std::string reason;
    };
    // The whole file, unless it is missing, larger than `maxBytes` or cannot be read.
    static ReadResult read(const std::filesystem::path& file, size_t maxBytes);

    // Replaces the file's content atomically with mode 0600, making its folder when missing.
    static bool replace(const std::filesystem::path& file, std::string_view content, std::string* reason);

    // Renames the file to "<name>.corrupt-N" beside it, with the first N that is free, and returns the
    // new path (empty when the rename failed).
    static std::filesystem::path moveAside(const std::filesystem::path& file, std::string* reason);
};

} // namespace security
