// bench::makeScratchFolder: a folder for one benchmark's data root under the temporary folder, removed with
// everything in it when the benchmark binary exits, so that runs leave no databases or spools behind. The
// first folder is made before the application's objects that write under it, so it goes after them.
//
//   if (auto folder = bench::makeScratchFolder("spool-bench"); !folder.empty())
//       setenv("LUMET_HOME", folder.c_str(), 1);
#pragma once

#include <filesystem>
#include <string_view>

namespace bench {

// The new folder, or an empty path when none could be made.
std::filesystem::path makeScratchFolder(std::string_view prefix);

} // namespace bench
