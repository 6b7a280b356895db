#include "base/system/UserDefaults.h"
#include "ClockFixture.h"
#include "base/loop/DispatchQueue.h"
#include "base/loop/RunLoop.h"
#include "base/system/DefaultsFile.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/values/Array.h"
#include "support/TempDir.h"

#include <condition_variable>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace {

class UserDefaultsTest : public testing::Test {
protected:
    std::filesystem::path file() const { return m_dir.path() / "defaults.ldef"; }
    size_t filesInFolder() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}));
    }

    test::TempDir m_dir;
};

TEST_F(UserDefaultsTest, EveryKindSurvivesAReload)
{
    auto nested = base::Dictionary::make({ { "list", base::Array::make({ 1, "two", base::Value() }) } });
    {
        base::UserDefaults defaults(file());
        defaults.setObject("ASP.NET_SessionId=abc", "kCookie");
        defaults.setInteger(-7, "runtimes");
        defaults.setObject(base::Value(uint64_t(18446744073709551615ull)), "big");
        defaults.setDouble(1.5, "PlayerSpeed");
        defaults.setBool(true, "kAutoLogin");
        defaults.setObject(base::Value(base::Date::fromTimeIntervalSince1970(1400000000.25)), "table");
        defaults.setObject(base::Value(base::Data { 0, 1, 255 }), "receipt");
        defaults.setObject(base::Value(nested), "nested");
        defaults.setObject(base::Value(), "null");
        EXPECT_TRUE(defaults.synchronize());
    }
    base::UserDefaults reloaded(file());
    EXPECT_EQ(reloaded.stringForKey("kCookie"), "ASP.NET_SessionId=abc");
    EXPECT_EQ(reloaded.integerForKey("runtimes"), -7);
    EXPECT_EQ(*reloaded.objectForKey("big")->unsignedInteger(), 18446744073709551615ull);
    EXPECT_EQ(reloaded.doubleForKey("PlayerSpeed"), 1.5);
    EXPECT_TRUE(reloaded.boolForKey("kAutoLogin"));
    EXPECT_EQ(*reloaded.objectForKey("table")->date(), base::Date::fromTimeIntervalSince1970(1400000000.25));
    EXPECT_EQ(reloaded.dataForKey("receipt"), (base::Data { 0, 1, 255 }));
    ASSERT_TRUE(reloaded.dictionaryForKey("nested"));
    EXPECT_TRUE(reloaded.dictionaryForKey("nested")->isEqual(*nested));
    EXPECT_TRUE(reloaded.objectForKey("null")->isNull());
    EXPECT_FALSE(reloaded.objectForKey("absent"));
}

TEST_F(UserDefaultsTest, AValueOfTheWrongKindReadsAsAbsent)
{
    base::UserDefaults defaults(file());
    defaults.setObject("12", "text");
    defaults.setInteger(12, "number");
    defaults.setObject(base::Value(base::Array::make({ 1 })), "list");
    EXPECT_EQ(defaults.integerForKey("text"), 0);
    EXPECT_FALSE(defaults.boolForKey("text"));
    EXPECT_EQ(defaults.doubleForKey("list"), 0);
    EXPECT_FALSE(defaults.stringForKey("number"));
    EXPECT_FALSE(defaults.dataForKey("text"));
    EXPECT_FALSE(defaults.arrayForKey("number"));
    EXPECT_FALSE(defaults.dictionaryForKey("list"));
    EXPECT_TRUE(defaults.arrayForKey("list"));
    EXPECT_TRUE(defaults.boolForKey("number"));
}

TEST_F(UserDefaultsTest, StoredContainersAreCopies)
{
    base::UserDefaults defaults(file());
    auto list = base::MutableArray::make({ 1 });
    defaults.setObject(base::Value(list), "list");
    list->addObject(2);
    EXPECT_EQ(defaults.arrayForKey("list")->count(), 1u);
    EXPECT_FALSE(defaults.arrayForKey("list")->isMutable());
}

TEST_F(UserDefaultsTest, ACrashMidWriteKeepsTheLastSavedValues)
{
    {
        base::UserDefaults defaults(file());
        defaults.setObject("saved", "kLoginName");
        ASSERT_TRUE(defaults.synchronize());
    }
    // What a crash during the next save leaves: a partial temporary file beside the intact one.
    std::string partial = base::DefaultsFile::write(*base::Dictionary::make({ { "kLoginName", "new" } }));
    std::ofstream(m_dir.path() / (base::Files::temporaryPrefix(file()) + "Xy12Zq"), std::ios::binary)
        << partial.substr(0, partial.size() / 2);

    base::UserDefaults reloaded(file());
    EXPECT_EQ(reloaded.stringForKey("kLoginName"), "saved");
    EXPECT_EQ(filesInFolder(), 1u); // the stray temporary file is gone
}

TEST_F(UserDefaultsTest, ACorruptFileReadsAsEmptyAndIsKeptAside)
{
    std::string good = base::DefaultsFile::write(*base::Dictionary::make({ { "k", "v" } }));
    for (std::string bad : { good.substr(0, good.size() - 1), good + "x",
             std::string("<?xml version=\"1.0\"?><plist/>"), std::string() }) {
        std::ofstream(file(), std::ios::binary) << bad;
        base::Log::ScopedCapture log;
        {
            base::UserDefaults defaults(file());
            EXPECT_FALSE(defaults.objectForKey("k"));
            EXPECT_TRUE(log.contains("not a defaults file"));
            defaults.setObject("fresh", "k");
        }
        EXPECT_EQ(base::UserDefaults(file()).stringForKey("k"), "fresh");
    }
    EXPECT_TRUE(std::filesystem::exists(m_dir.path() / "defaults.ldef.corrupt"));
    EXPECT_TRUE(std::filesystem::exists(m_dir.path() / "defaults.ldef.corrupt.3"));
    EXPECT_EQ(base::Files::read(m_dir.path() / "defaults.ldef.corrupt.2"), "<?xml version=\"1.0\"?><plist/>");
}

TEST_F(UserDefaultsTest, RemovingAndSynchronizing)
{
    base::UserDefaults defaults(file());
    EXPECT_TRUE(defaults.synchronize()); // nothing to write
    EXPECT_FALSE(std::filesystem::exists(file()));
    defaults.setObject("x", "a");
    defaults.setObject("y", "b");
    defaults.removeObjectForKey("a");
    defaults.removeObjectForKey("never-set");
    ASSERT_TRUE(defaults.synchronize());
    base::UserDefaults reloaded(file());
    EXPECT_FALSE(reloaded.objectForKey("a"));
    EXPECT_EQ(reloaded.dictionaryRepresentation()->count(), 1u);
}

// Storing what a key holds already writes nothing; a value equal only by the loose number rules (true and 1)
// is a change, since the file keeps the kinds apart.
TEST_F(UserDefaultsTest, OnlyARealChangeRewritesTheFile)
{
    auto inode = [&] {
        struct stat info { };
        return ::stat(file().c_str(), &info) == 0 ? info.st_ino : 0;
    };
    auto list = [] { return base::Value(base::Array::make({ 1, "two" })); };
    base::UserDefaults defaults(file());
    defaults.setBool(true, "flag");
    defaults.setObject(list(), "list");
    ASSERT_TRUE(defaults.synchronize());
    ino_t written = inode();

    defaults.setBool(true, "flag");
    defaults.setObject(list(), "list");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(inode(), written);

    defaults.setInteger(1, "flag");
    defaults.setObject(base::Value(base::Array::make({ true, "two" })), "list");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_NE(inode(), written);
    base::UserDefaults reloaded(file());
    EXPECT_EQ(reloaded.objectForKey("flag")->kind(), base::Value::Kind::Integer);
    EXPECT_EQ(reloaded.arrayForKey("list")->objectAtIndex(0).kind(), base::Value::Kind::Bool);
}

TEST_F(UserDefaultsTest, RegisteredValuesAnswerOnlyForEmptyKeysAndAreNotSaved)
{
    {
        base::UserDefaults defaults(file());
        defaults.registerDefaults(*base::Dictionary::make({ { "notification_switch", "1" }, { "speed", 2 } }));
        defaults.setObject("0", "notification_switch");
        EXPECT_EQ(defaults.stringForKey("notification_switch"), "0");
        EXPECT_EQ(defaults.integerForKey("speed"), 2);
        defaults.removeObjectForKey("notification_switch");
        EXPECT_EQ(defaults.stringForKey("notification_switch"), "1");
        defaults.setObject("kept", "other");
    }
    EXPECT_FALSE(base::UserDefaults(file()).objectForKey("speed"));
}

TEST_F(UserDefaultsTest, AnUnwritableFileReportsFailureAndKeepsTheChanges)
{
    std::filesystem::create_directory(file()); // a folder where the file should be
    base::Log::ScopedCapture log;
    base::UserDefaults defaults(file());
    defaults.setObject("v", "k");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(defaults.stringForKey("k"), "v");
    std::filesystem::remove(file());
    EXPECT_TRUE(defaults.synchronize());
}

TEST_F(UserDefaultsTest, AFileThatCannotBeReadIsNeverWrittenOver)
{
    std::filesystem::create_directory(m_dir.path() / "elsewhere");
    std::filesystem::create_directory_symlink(m_dir.path() / "elsewhere", file()); // present, reads as nothing
    base::Log::ScopedCapture log;
    {
        base::UserDefaults defaults(file());
        defaults.setObject("v", "k");
        EXPECT_FALSE(defaults.synchronize());
        EXPECT_EQ(defaults.stringForKey("k"), "v") << "kept in memory";
    }
    EXPECT_TRUE(std::filesystem::is_symlink(file())) << "left as it was, also when the object goes";
}

// A secret store in memory that can be told to refuse writes, as a keychain file on a full disk does.
class MemorySecrets : public base::SecretStore {
public:
    std::optional<std::string> read(std::string_view key) override
    {
        auto found = texts.find(std::string(key));
        return found == texts.end() ? std::nullopt : std::optional(found->second);
    }
    bool write(std::string_view key, const std::string& text) override
    {
        if (refuses)
            return false;
        texts[std::string(key)] = text;
        return true;
    }
    bool remove(std::string_view key) override { return texts.erase(std::string(key)), true; }

    std::map<std::string, std::string> texts;
    bool refuses { false };
};

TEST_F(UserDefaultsTest, SecretKeysAreKeptInTheirStoreAndNeverInTheFile)
{
    auto secrets = std::make_shared<MemorySecrets>();
    base::UserDefaults defaults(file());
    defaults.keepInSecretStore({ "kPassword" }, secrets);
    defaults.setObject("hunter2-secret", "kPassword");
    defaults.setObject("ann", "kLoginName");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.stringForKey("kPassword"), "hunter2-secret");
    EXPECT_EQ(secrets->texts["kPassword"], "hunter2-secret");
    EXPECT_EQ(base::Files::read(file())->find("hunter2-secret"), std::string::npos);
    EXPECT_FALSE(defaults.dictionaryRepresentation()->objectForKey("kPassword"));

    defaults.removeObjectForKey("kPassword");
    EXPECT_FALSE(defaults.stringForKey("kPassword"));
    EXPECT_TRUE(secrets->texts.empty());
}

TEST_F(UserDefaultsTest, AClearSecretOfAnOlderFileMovesToTheStoreAndLeavesTheFile)
{
    {
        base::UserDefaults older(file());
        older.setObject("hunter2-secret", "kPassword");
        older.setObject("ann", "kLoginName");
        ASSERT_TRUE(older.synchronize());
    }
    auto secrets = std::make_shared<MemorySecrets>();
    base::UserDefaults defaults(file());
    defaults.keepInSecretStore({ "kPassword" }, secrets);
    EXPECT_EQ(secrets->texts["kPassword"], "hunter2-secret");
    EXPECT_EQ(defaults.stringForKey("kPassword"), "hunter2-secret");
    auto bytes = base::Files::read(file());
    EXPECT_EQ(bytes->find("hunter2-secret"), std::string::npos);
    EXPECT_EQ(base::UserDefaults(file()).stringForKey("kLoginName"), "ann");
}

TEST_F(UserDefaultsTest, ASecretTheStoreCannotTakeStaysWhereItIsAndIsNeverWrittenInClear)
{
    {
        base::UserDefaults older(file());
        older.setObject("old-secret", "kPassword");
        ASSERT_TRUE(older.synchronize());
    }
    auto secrets = std::make_shared<MemorySecrets>();
    secrets->refuses = true;
    base::Log::ScopedCapture log;
    base::UserDefaults defaults(file());
    defaults.keepInSecretStore({ "kPassword" }, secrets);
    EXPECT_EQ(defaults.stringForKey("kPassword"), "old-secret") << "not lost while the store refuses";

    defaults.setObject("new-secret", "kPassword");
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(base::Files::read(file())->find("new-secret"), std::string::npos);

    secrets->refuses = false;
    defaults.setObject("newer-secret", "kPassword");
    EXPECT_EQ(defaults.stringForKey("kPassword"), "newer-secret");
}

TEST(UserDefaultsStandard, LivesInThePreferencesFolderAndKnowsTheLanguages)
{
    auto& defaults = base::UserDefaults::standard();
    EXPECT_EQ(defaults.file().filename(), base::UserDefaults::FileName);
    auto languages = defaults.arrayForKey(base::UserDefaults::LanguagesKey);
    ASSERT_TRUE(languages);
    EXPECT_GE(languages->count(), 1u);
}

using UserDefaultsStandardWrites = test::ManualClockTest;

// What the file holds for `key`, read back as another process would.
std::optional<std::string> storedString(const std::filesystem::path& file, const char* key)
{
    return base::UserDefaults(file).stringForKey(key);
}

TEST_F(UserDefaultsStandardWrites, ATurnsSettingsReachTheFileTogetherAfterTheTurn)
{
    auto& defaults = base::UserDefaults::standard();
    std::optional<std::string> onDiskDuringTurn;
    bool answered = false;
    base::RunLoop::main().post([&] {
        defaults.setObject("first", "turnWriteA");
        answered = defaults.synchronize();
        defaults.setObject("second", "turnWriteB");
        answered = answered && defaults.synchronize();
        onDiskDuringTurn = storedString(defaults.file(), "turnWriteA");
    });
    base::RunLoop::main().advance(base::Duration(0));

    EXPECT_TRUE(answered);
    EXPECT_FALSE(onDiskDuringTurn) << "written once, after the turn's tasks";
    // Outside a turn, synchronize() waits for the turn's write or makes it.
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(storedString(defaults.file(), "turnWriteA"), "first");
    EXPECT_EQ(storedString(defaults.file(), "turnWriteB"), "second");
}

TEST_F(UserDefaultsStandardWrites, OutsideATurnSynchronizeWritesAtOnce)
{
    auto& defaults = base::UserDefaults::standard();
    defaults.setObject("now", "directWrite");
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(storedString(defaults.file(), "directWrite"), "now");
}

// A serial queue whose blocks wait until the test releases it, so that a test sees what the main thread did
// before the queue ran.
class HeldQueue {
public:
    HeldQueue()
    {
        queue->async([this] {
            std::unique_lock lock(m_mutex);
            m_released.wait(lock, [this] { return m_open; });
        });
    }
    ~HeldQueue() { releaseAndDrain(); }

    // Lets the queue run and waits until every block given to it so far has run.
    void releaseAndDrain()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_released.notify_all();
        queue->sync([] {});
    }

    const std::shared_ptr<base::DispatchQueue> queue = base::DispatchQueue::makeSerial("test.held");

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_open { false };
};

class UserDefaultsTurnWrites : public test::ManualClockTest {
protected:
    std::filesystem::path file() const { return m_dir.path() / "defaults.ldef"; }

    // One main-loop turn that stores the value and synchronizes, as the settings accessors do.
    static void storeInATurn(base::UserDefaults& defaults, const char* value)
    {
        bool answered = false;
        base::RunLoop::main().post([&] {
            defaults.setObject(value, "k");
            answered = defaults.synchronize();
        });
        base::RunLoop::main().advance(base::Duration(0));
        EXPECT_TRUE(answered);
    }

    test::TempDir m_dir;
    HeldQueue m_held;
};

TEST_F(UserDefaultsTurnWrites, TheTurnEndsWithoutWritingAndTheQueueWrites)
{
    base::UserDefaults defaults(file(), m_held.queue);
    storeInATurn(defaults, "v");
    EXPECT_FALSE(std::filesystem::exists(file())) << "the main thread left the write to the queue";

    m_held.releaseAndDrain();
    EXPECT_EQ(storedString(file(), "k"), "v");
}

// A normal exit writes what the held queue has not: the latest state, which the queue's late block then
// leaves alone.
TEST_F(UserDefaultsTurnWrites, TheLatestStateIsWrittenWhenTheDefaultsGoAndTheQueueIsHeld)
{
    {
        base::UserDefaults defaults(file(), m_held.queue);
        storeInATurn(defaults, "older");
        storeInATurn(defaults, "latest");
        EXPECT_FALSE(std::filesystem::exists(file()));
    }
    EXPECT_EQ(storedString(file(), "k"), "latest");
    m_held.releaseAndDrain();
    EXPECT_EQ(storedString(file(), "k"), "latest");
}

TEST_F(UserDefaultsTurnWrites, AFailedQueueWriteIsLoggedAndMadeByTheNextSynchronize)
{
    base::UserDefaults defaults(file(), m_held.queue);
    std::filesystem::create_directory(file()); // a folder where the file should be
    base::Log::ScopedCapture log;
    storeInATurn(defaults, "kept");
    m_held.releaseAndDrain();
    EXPECT_TRUE(log.contains("cannot write"));

    std::filesystem::remove(file());
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(storedString(file(), "k"), "kept");
}

} // namespace
