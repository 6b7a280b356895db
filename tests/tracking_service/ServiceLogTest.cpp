// What the service leaves behind: a log of method names, statuses and sizes only, and a data folder that only
// its owner may read.
#include "ServiceFixture.h"

#include "base/system/Log.h"

#include <sys/stat.h>

using tracking_service::DemoData;

namespace {

using ServiceLogTest = ServiceFixture;

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(ServiceLogTest, LogsEachRequestWithoutItsPasswordCookiePhoneNumberOrText)
{
    test::TempDir folder;
    tracking_service::TrackingService service(folder.path());
    service.setLogsRequests(true);
    base::Log::ScopedCapture capture;
    ASSERT_TRUE(service.start());
    httplib::Client client("127.0.0.1", service.port());
    auto post = [&](const std::string& method, const std::string& body, const std::string& cookie) {
        httplib::Headers headers;
        if (!cookie.empty())
            headers.emplace("Cookie", cookie);
        return client.Post(methodPath(method).c_str(), headers, body, "application/json; charset=utf-8");
    };
    auto login = post("Login", R"({"LoginName":"lumet_demo","Password":"demo1234","Token":"tok"})", "");
    ASSERT_TRUE(login);
    std::string cookie = login->get_header_value("Set-Cookie");
    cookie = cookie.substr(0, cookie.find(';'));
    post("LumetSetListenNo", R"({"Serialnumber":"LW3600000001","ListenNo":"13912345678"})", cookie);
    post("LumetSendTextMsg", R"({"Serialnumber":"LW3600000001","text":"meet at the gate"})", cookie);
    post("UpdatePassword", R"({"old_pwd":"demo1234","new_pwd":"s3cret-new","LoginName":"lumet_demo","x":1})", cookie);
    service.stop();

    EXPECT_TRUE(capture.contains("POST Login 200")) << ::testing::PrintToString(capture.messages());
    EXPECT_TRUE(capture.contains("POST LumetSendTextMsg 200"));
    EXPECT_TRUE(capture.contains("POST UpdatePassword 500"));
    EXPECT_TRUE(capture.contains("bytes in"));
    for (const char* secret :
        { "demo1234", "s3cret-new", "13912345678", "meet at the gate", cookie.c_str(), "LumetSession=" })
        EXPECT_FALSE(capture.contains(secret)) << secret;
}

TEST_F(ServiceLogTest, KeepsItsDataWhereOnlyItsOwnerMayReadIt)
{
    test::TempDir parent;
    std::filesystem::path folder = parent.path() / "service";
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    {
        tracking_service::TrackingService service(folder);
        ASSERT_TRUE(service.store().isOpen());
        EXPECT_TRUE(service.store().checkPassword(DemoData::AccountName, DemoData::Password));
    }
    EXPECT_EQ(modeOf(folder), 0700u);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
        EXPECT_EQ(modeOf(entry.path()), 0600u) << entry.path();
    }
    EXPECT_GT(files, 0u);

    // A store an earlier, laxer run left open to all is closed again.
    std::filesystem::permissions(folder / "service.sqlite", std::filesystem::perms::all);
    tracking_service::TrackingService again(folder);
    EXPECT_EQ(modeOf(folder / "service.sqlite"), 0600u);
}

} // namespace
