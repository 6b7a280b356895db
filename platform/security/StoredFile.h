// The keychain store's file as it lies on disk: read whole (telling a missing file from one that cannot be
// read), or renamed aside when it turns out not to be a keychain file, so nothing in it is destroyed.
// Writing goes through base::Files::writeAtomically. Thread: any (callers serialize access to one file).
//
//   auto read = security::StoredFile::read(path, 8 << 20);
//   if (read.outcome == security::StoredFile::ReadResult::Outcome::Failed) base::log(read.reason);
#pragma once

#include "security/FileStamp.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace security {

class StoredFile {
public:
    struct ReadResult {
        enum class Outcome { Read, Missing, TooLarge, Failed } outcome { Outcome::Failed };
        std::string bytes;
        std::string reason;
        // The status of the file that was opened, taken before its bytes were read.
        FileStamp stamp;
    };
    // The whole file, unless it is missing, larger than `maxBytes` or cannot be read.
    static ReadResult read(const std::filesystem::path& file, size_t maxBytes);

    // Renames the file to "<name>.corrupt-N" beside it, with the first N that is free, and returns the
    // new path (empty when the rename failed).
    static std::filesystem::path moveAside(const std::filesystem::path& file, std::string* reason);
};

} // namespace security
