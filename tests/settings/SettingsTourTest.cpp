// The tour's steps of the settings screens: each leaves a picture, the key-lock watch's settings centre
// among them, and the tour ends on the device it started with.
#include "SettingsFixture.h"

namespace {

class SettingsTour : public test::SettingsTest { };

TEST_F(SettingsTour, EverySettingsScreenLeavesAPicture)
{
    test::TempDir folder;
    auto taken = takeTour(folder.path());
    ASSERT_TRUE(taken);
    for (const char* name :
        { "settings", "settings-keylock", "settings-password", "power-schedule", "about", "feedback" }) {
        ASSERT_NE(std::find(taken->begin(), taken->end(), name), taken->end()) << name;
        EXPECT_GT(std::filesystem::file_size(folder.path() / (std::string(name) + ".png")), 1000u) << name;
    }
    EXPECT_EQ(core::Singleton::shared().lastSerialnumber(), watch);
    EXPECT_GE(service.requestLog().requestsTo("GetDeviceDetial").size(), 3u);
}

} // namespace
