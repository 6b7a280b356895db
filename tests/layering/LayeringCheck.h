// test::LayeringCheck: the dependency rule between the libraries, checked on the source tree. Each folder
// whose CMakeLists.txt declares `lumet_library(NAME DEPS ...)` is one library; a file of that folder (or of
// its sub-folders) may include the headers of its own library and of the libraries it declares, directly or
// through theirs. An include is `#include "<folder>/..."`, where <folder> is a library's folder name; other
// includes (system headers, same-folder headers) are not the rule's business.
//
//   auto check = test::LayeringCheck::read(sourceRoot);
//   for (const auto& v : check.violations()) ADD_FAILURE() << v.describe();
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace test {

struct LayeringViolation {
    std::filesystem::path file; // relative to the source root
    int line;
    std::string library; // the library the file belongs to
    std::string included; // the library it may not include

    std::string describe() const;
};

class LayeringCheck {
public:
    // Reads every library under `root` (the folders platform/, src/, tools/ and app/ are searched).
    static LayeringCheck read(const std::filesystem::path& root);

    // The library's name for each library folder, by folder path relative to the root.
    const std::map<std::filesystem::path, std::string>& libraries() const { return m_libraryOfFolder; }
    // The libraries `library` may include, itself among them.
    std::set<std::string> allowed(const std::string& library) const;
    std::vector<LayeringViolation> violations() const;

private:
    void readLibrary(const std::filesystem::path& cmakeFile);
    void checkFile(
        const std::filesystem::path& file, const std::string& library, std::vector<LayeringViolation>& out) const;

    std::filesystem::path m_root;
    std::map<std::filesystem::path, std::string> m_libraryOfFolder;
    std::map<std::string, std::vector<std::string>> m_deps;
    // Include prefix (a folder's name) to library.
    std::map<std::string, std::string> m_libraryOfPrefix;
};

} // namespace test
