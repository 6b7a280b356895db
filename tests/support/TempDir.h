// A temporary folder removed with everything in it when the object goes. Tests use it as a data root or
// as a place for database and keychain files.
//
//   test::TempDir dir;
//   auto file = dir.path() / "dataBase.sqlite";
#pragma once

#include <filesystem>

namespace test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace test
