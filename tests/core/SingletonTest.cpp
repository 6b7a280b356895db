#include "core/state/Singleton.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/system/UserDefaults.h"
#include "core/messages/SafeFileName.h"
#include "core/service/RootUrl.h"

#include <gtest/gtest.h>

using core::Singleton;

namespace {

class SingletonTest : public testing::Test {
protected:
    void TearDown() override
    {
        for (const char* key : { "kLastSerialNumber", "RootUrl", "loginkey" })
            base::UserDefaults::standard().removeObjectForKey(key);
        std::filesystem::remove_all(Singleton::shared().messagePath());
    }
};

TEST_F(SingletonTest, SettingsAreWrittenThroughAndFileBacked)
{
    auto& state = Singleton::shared();
    EXPECT_EQ(state.lastSerialnumber(), "");
    EXPECT_EQ(state.server(), core::DefaultRootUrl);
    EXPECT_FALSE(state.key());

    state.setLastSerialnumber("LW3600000001");
    state.setServer("http://tracking.example:81");
    state.setKey("k1");
    base::UserDefaults reread(base::UserDefaults::standard().file());
    EXPECT_EQ(reread.stringForKey("kLastSerialNumber"), "LW3600000001");
    EXPECT_EQ(reread.stringForKey("RootUrl"), "http://tracking.example:81");
    EXPECT_EQ(reread.stringForKey("loginkey"), "k1");

    state.setKey(std::nullopt);
    EXPECT_FALSE(state.key());
}

TEST_F(SingletonTest, MessageFolderLiesInTheDocuments)
{
    auto folder = Singleton::shared().messagePath();
    EXPECT_EQ(folder, base::Paths::documents() / "message");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_NE(folder.string().back(), '/');
}

TEST_F(SingletonTest, MessageFilesAreWrittenReadAndReplaced)
{
    auto& state = Singleton::shared();
    EXPECT_FALSE(state.fileExist("message1"));
    EXPECT_FALSE(state.readMessageFile("message1"));
    EXPECT_TRUE(state.writeMessageFileName("message1", { '#', '!', 'A', 'M', 'R', '\n' }));
    EXPECT_TRUE(state.fileExist("message1"));
    EXPECT_TRUE(state.writeMessageFileName("message1", { 1, 2 }));
    EXPECT_EQ(state.readMessageFile("message1"), (base::Data { 1, 2 }));
    EXPECT_TRUE(state.writeMessageFileName("empty", {}));
    EXPECT_EQ(state.readMessageFile("empty"), base::Data {});
    EXPECT_EQ(std::filesystem::status(state.messagePath() / "message1").permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a voice message is the user's alone";
}

TEST_F(SingletonTest, NamesThatCouldLeaveTheFolderAreRefused)
{
    base::Log::ScopedCapture log;
    auto& state = Singleton::shared();
    const std::string refused[] = { "", ".", "..", "../escape", "a/b", std::string("a\0b", 3), std::string(256, 'x') };
    for (const std::string& name : refused) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(state.writeMessageFileName(name, { 1 }));
        EXPECT_FALSE(state.fileExist(name));
        EXPECT_FALSE(state.readMessageFile(name));
    }
    EXPECT_FALSE(std::filesystem::exists(base::Paths::documents() / "escape"));
    EXPECT_TRUE(core::isSafeFileName(std::string(255, 'x')));
    EXPECT_TRUE(state.writeMessageFileName(std::string(200, 'x'), { 1 }));
    EXPECT_TRUE(state.writeMessageFileName("..hidden", { 1 }));
    EXPECT_TRUE(log.contains("refused the file name"));
}

TEST_F(SingletonTest, CurrentDeviceRecordIsShared)
{
    auto device = std::make_shared<core::Device>();
    Singleton::shared().setDeviceDetail(device);
    Singleton::shared().setDeviceTypeID(36);
    Singleton::shared().deviceDetail()->deviceName = "renamed";
    EXPECT_EQ(device->deviceName, "renamed");
    EXPECT_EQ(Singleton::shared().deviceTypeID(), 36);
    Singleton::shared().setDeviceDetail(nullptr);
    Singleton::shared().setDeviceTypeID(std::nullopt);
}

} // namespace
