#include "base/system/Paths.h"
#include "base/system/Files.h"
#include "base/system/UserDefaults.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace {

// Sets environment variables for one test and restores them afterwards.
class ScopedEnvironment {
public:
    ~ScopedEnvironment()
    {
        for (auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void set(const char* name, const char* value)
    {
        const char* previous = std::getenv(name);
        m_saved.emplace_back(name, previous ? std::optional<std::string>(previous) : std::nullopt);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(Paths, EverythingLivesUnderLumetHome)
{
    test::TempDir home;
    ScopedEnvironment environment;
    environment.set("LUMET_HOME", home.path().c_str());
    EXPECT_EQ(base::Paths::dataRoot(), home.path());
    EXPECT_EQ(base::Paths::documents(), home.path() / "Documents");
    EXPECT_EQ(base::Paths::caches(), home.path() / "Caches");
    EXPECT_EQ(base::Paths::temporary(), home.path() / "tmp");
    EXPECT_EQ(base::Paths::preferences(), home.path() / "Preferences");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Documents"));
    struct stat info { };
    ASSERT_EQ(stat((home.path() / "Preferences").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(Paths, WithoutLumetHomeTheXDGFoldersAreUsed)
{
    test::TempDir folders;
    ScopedEnvironment environment;
    environment.set("LUMET_HOME", nullptr);
    environment.set("XDG_DATA_HOME", (folders.path() / "data").c_str());
    environment.set("XDG_CONFIG_HOME", (folders.path() / "config").c_str());
    EXPECT_EQ(base::Paths::documents(), folders.path() / "data" / "lumet-companion" / "Documents");
    EXPECT_EQ(base::Paths::preferences(), folders.path() / "config" / "lumet-companion");

    environment.set("XDG_DATA_HOME", nullptr);
    environment.set("XDG_CONFIG_HOME", "relative/is/ignored");
    environment.set("HOME", folders.path().c_str());
    EXPECT_EQ(base::Paths::dataRoot(), folders.path() / ".local/share/lumet-companion");
    EXPECT_EQ(base::Paths::preferences(), folders.path() / ".config/lumet-companion");
}

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat info { };
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// Whatever the process's umask lets through, nothing under the data root is open to other users.
TEST(Paths, TheDataRootAndEveryFolderBelowItArePrivateAndTheSettingsFileTooWhenCreated)
{
    test::TempDir folder;
    auto root = folder.path() / "new" / "root";
    ScopedEnvironment environment;
    environment.set("LUMET_HOME", root.c_str());
    mode_t previous = umask(022);
    base::Paths::documents();
    ASSERT_TRUE(base::Files::writeAtomically(base::Paths::dataRoot() / "feedback" / "thread.json", "{}", 0600));
    ASSERT_TRUE(base::Files::createFolders(base::Paths::documents() / "message" / "inner"));
    base::UserDefaults defaults(base::Paths::preferences() / base::UserDefaults::FileName);
    defaults.setObject("1", "k");
    ASSERT_TRUE(defaults.synchronize());
    umask(previous);

    for (const auto& created : { folder.path() / "new", root, root / "Documents", root / "Preferences",
             root / "feedback", root / "Documents" / "message", root / "Documents" / "message" / "inner" })
        EXPECT_EQ(modeOf(created), 0700u) << created;
    EXPECT_EQ(modeOf(defaults.file()), 0600u);
}

TEST(Files, AtomicWriteReplacesTheWholeFileWithItsMode)
{
    test::TempDir dir;
    auto file = dir.path() / "nested" / "store.bin";
    ASSERT_TRUE(base::Files::writeAtomically(file, "first version, longer", 0600));
    ASSERT_TRUE(base::Files::writeAtomically(file, "second", 0600));
    EXPECT_EQ(base::Files::read(file), "second");
    struct stat info { };
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
}

TEST(Files, ReadGivesEveryByteOfAFileAndNothingForWhatIsNoFile)
{
    test::TempDir dir;
    std::string bytes(100000, 'x');
    bytes[10] = '\0';
    bytes.back() = 'z';
    ASSERT_TRUE(base::Files::writeAtomically(dir.path() / "spool", bytes));
    ASSERT_TRUE(base::Files::writeAtomically(dir.path() / "empty", ""));
    EXPECT_EQ(base::Files::read(dir.path() / "spool"), bytes);
    EXPECT_EQ(base::Files::read(dir.path() / "empty"), "");
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(base::Files::read(dir.path() / "fifo")) << "a FIFO without a writer is refused, not waited on";
    EXPECT_FALSE(base::Files::read(dir.path())) << "a folder";
}

TEST(Files, AFailedWriteLeavesTheTargetAndNoTemporary)
{
    test::TempDir dir;
    auto file = dir.path() / "target";
    std::filesystem::create_directory(file); // a folder cannot be replaced by a file
    EXPECT_FALSE(base::Files::writeAtomically(file, "data"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(base::Files::read(dir.path() / "missing"));
}

TEST(Files, StaleTemporariesOfOneFileAreRemoved)
{
    test::TempDir dir;
    auto file = dir.path() / "defaults";
    std::ofstream(dir.path() / (base::Files::temporaryPrefix(file) + "abc123")) << "partial";
    std::ofstream(dir.path() / ".other.tmp-abc123") << "someone else's";
    base::Files::removeStaleTemporaries(file);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / (base::Files::temporaryPrefix(file) + "abc123")));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / ".other.tmp-abc123"));
}

} // namespace
