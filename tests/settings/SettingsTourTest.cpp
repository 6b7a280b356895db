// The tour's steps of the settings screens: each leaves a picture, the key-lock watch's settings centre
// among them, and the tour ends on the device it started with.
#include "SettingsFixture.h"

#include "host/HeadlessHost.h"
#include "shell/tour/Tour.h"

namespace {

class SettingsTour : public test::SettingsTest { };

TEST_F(SettingsTour, EverySettingsScreenLeavesAPicture)
{
    test::TempDir folder;
    host::HeadlessHost pictures { folder.path() };
    std::optional<bool> outcome;
    launch({ account, password });
    auto tour = std::make_shared<shell::Tour>(
        application, [&](const std::string& name) { return pictures.writeFrame(name).has_value(); },
        [&](bool succeeded) { outcome = succeeded; });
    tour->start();
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }, 240));
    EXPECT_EQ(outcome, true);
    const auto& taken = tour->pictures();
    for (const char* name :
        { "settings", "settings-keylock", "settings-password", "power-schedule", "about", "feedback" }) {
        ASSERT_NE(std::find(taken.begin(), taken.end(), name), taken.end()) << name;
        EXPECT_GT(std::filesystem::file_size(folder.path() / (std::string(name) + ".png")), 1000u) << name;
    }
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), watch);
    EXPECT_GE(service.requestLog().requestsTo("GetDeviceDetial").size(), 3u);
}

} // namespace
