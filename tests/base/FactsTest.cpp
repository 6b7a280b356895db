#include "base/system/Facts.h"

#include <gtest/gtest.h>

namespace {

using Languages = std::vector<std::string>;

TEST(Facts, PreferredLanguagesComeFromTheLocaleVariables)
{
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("zh_CN:en_US:fr", "", "", "de_DE.UTF-8"),
        (Languages { "zh-Hans", "en", "fr", "de" }));
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("", "", "", "zh_TW.UTF-8"), (Languages { "zh-Hant" }));
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("", "pt_BR.UTF-8@euro", "en_GB", "en_US"),
        (Languages { "pt", "en" }));
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("en::en_AU", "", "", "C.UTF-8"), (Languages { "en" }));
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("", "C", "POSIX", ""), (Languages { "en" }));
    EXPECT_EQ(base::Facts::languagesFromLocaleVariables("zh", "", "", ""), (Languages { "zh-Hans" }));
}

TEST(Facts, EveryFactCanBeSetAndReset)
{
    auto& facts = base::Facts::current();
    std::string machineSystem = facts.systemName();
    EXPECT_FALSE(machineSystem.empty());
    EXPECT_GT(facts.platformVersionNumber(), 993.0);
    EXPECT_EQ(facts.screenScale(), 2.0);

    facts.setModel("Test Phone");
    facts.setSystemName("TestOS");
    facts.setSystemVersion("7.1");
    facts.setScreenScale(3.0);
    facts.setPreferredLanguages({});
    facts.setPlatformVersionNumber(993.0);
    facts.setDeviceName("kitchen");
    EXPECT_EQ(facts.model(), "Test Phone");
    EXPECT_EQ(facts.systemName(), "TestOS");
    EXPECT_EQ(facts.systemVersion(), "7.1");
    EXPECT_EQ(facts.screenScale(), 3.0);
    EXPECT_EQ(facts.preferredLanguages(), Languages { "en" });
    EXPECT_EQ(facts.platformVersionNumber(), 993.0);
    EXPECT_EQ(facts.deviceName(), "kitchen");

    facts.reset();
    EXPECT_EQ(facts.systemName(), machineSystem);
    EXPECT_EQ(facts.screenScale(), 2.0);
}

} // namespace
