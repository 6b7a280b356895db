#include "base/system/Bundle.h"
#include "base/system/Facts.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace {

TEST(Bundle, InfoValuesHaveDefaultsAndAnInfoFileOverridesThem)
{
    test::TempDir resources;
    base::Bundle plain(resources.path());
    EXPECT_EQ(plain.identifier(), "com.lumet.companion");
    EXPECT_EQ(plain.executableName(), "base_tests");
    EXPECT_FALSE(plain.version().empty());

    std::ofstream(resources.path() / "Info.strings")
        << "identifier = \"org.example.test\";\n\"version\" = \"2.5.1\";\n";
    base::Bundle configured(resources.path());
    EXPECT_EQ(configured.identifier(), "org.example.test");
    EXPECT_EQ(configured.version(), "2.5.1");
    configured.setInfoValue(base::Bundle::ShortVersionKey, "2.5");
    EXPECT_EQ(configured.shortVersion(), "2.5");
    EXPECT_FALSE(configured.infoValue("unknown"));
}

TEST(Bundle, ResourcesAreFoundAtTheTopOrInTheLocalisedFolder)
{
    test::TempDir resources;
    std::filesystem::create_directories(resources.path() / "images");
    std::filesystem::create_directories(resources.path() / "en.lproj");
    std::ofstream(resources.path() / "config.plist") << "x";
    std::ofstream(resources.path() / "images" / "arrow.png") << "x";
    std::ofstream(resources.path() / "en.lproj" / "help.html") << "x";
    base::Facts::current().setPreferredLanguages({ "en" });
    base::Bundle bundle(resources.path());
    EXPECT_EQ(bundle.pathForResource("config", "plist"), resources.path() / "config.plist");
    EXPECT_EQ(bundle.pathForResource("arrow.png", "", "images"), resources.path() / "images" / "arrow.png");
    EXPECT_EQ(bundle.pathForResource("help", "html"), resources.path() / "en.lproj" / "help.html");
    EXPECT_FALSE(bundle.pathForResource("missing", "png"));
    base::Facts::current().reset();
}

TEST(Bundle, TheResourcesFolderComesFromTheEnvironmentFirst)
{
    const char* previous = std::getenv("LUMET_RESOURCES");
    std::string saved = previous ? previous : "";
    setenv("LUMET_RESOURCES", "/somewhere/resources", 1);
    EXPECT_EQ(base::Bundle::locateResources(), "/somewhere/resources");
    unsetenv("LUMET_RESOURCES");
    EXPECT_EQ(base::Bundle::locateResources().filename(), "resources");
    if (previous)
        setenv("LUMET_RESOURCES", saved.c_str(), 1);
}

} // namespace
