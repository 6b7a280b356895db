// core::keepAside: renames a file that cannot be used (a database that is not one, a spool that does not
// read) to "<name>.corrupt-N" beside it, with the first N that is free, so that nothing in it is destroyed and
// a new file can take its place; the copy is made private to the user (0600). Any thread (callers serialize
// access to one file).
//
//   if (auto kept = core::keepAside(path); kept.empty()) base::log("cannot move the damaged file aside");
#pragma once

#include <filesystem>

namespace core {

// The new path, or an empty one when the rename failed.
std::filesystem::path keepAside(const std::filesystem::path& file);

} // namespace core
