// The libraries include only what they declare: every include of the real source tree is checked, and the
// checker itself is shown to catch an upward include in a small tree made for the purpose.
#include "LayeringCheck.h"

#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

void write(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

TEST(Layering, EveryIncludeOfTheSourceTreeIsAmongItsLibrarysDependencies)
{
    auto check = test::LayeringCheck::read(LUMET_SOURCE_DIR);
    ASSERT_GE(check.libraries().size(), 20u) << "the libraries were not found under " << LUMET_SOURCE_DIR;
    for (const auto& violation : check.violations())
        ADD_FAILURE() << violation.describe();
}

TEST(Layering, TheDeclaredOrderRunsDownward)
{
    auto check = test::LayeringCheck::read(LUMET_SOURCE_DIR);
    EXPECT_TRUE(check.allowed("shell").contains("core"));
    EXPECT_TRUE(check.allowed("settings").contains("childcare"));
    for (const char* feature : { "chat", "settings", "childcare" })
        EXPECT_FALSE(check.allowed("core").contains(feature)) << feature;
    EXPECT_FALSE(check.allowed("childcare").contains("settings"));
    EXPECT_FALSE(check.allowed("voice").contains("core"));
    EXPECT_FALSE(check.allowed("base").contains("gfx"));
}

class LayeringFixtureTree : public testing::Test {
protected:
    void SetUp() override
    {
        write(root.path() / "platform/base/CMakeLists.txt", "lumet_library(base PKG libcurl)\n");
        write(root.path() / "platform/base/Value.h", "#pragma once\n#include <string>\n");
        write(root.path() / "src/core/CMakeLists.txt", "lumet_library(core DEPS base\n    PKG sqlite3)\n");
        write(root.path() / "src/core/Device.h", "#pragma once\n#include \"base/Value.h\"\n#include \"Local.h\"\n");
        write(root.path() / "src/shell/CMakeLists.txt", "lumet_library(shell DEPS core LIBS m)\n");
        write(root.path() / "src/shell/Menu.cpp", "#include \"core/Device.h\"\n#include \"base/Value.h\"\n");
    }

    test::TempDir root;
};

TEST_F(LayeringFixtureTree, IncludesThroughDeclaredDependenciesPass)
{
    auto check = test::LayeringCheck::read(root.path());
    EXPECT_EQ(check.libraries().size(), 3u);
    EXPECT_TRUE(check.violations().empty());
}

TEST_F(LayeringFixtureTree, AnUpwardIncludeFailsNamingFileAndLine)
{
    write(root.path() / "src/core/sub/Logout.cpp", "#include \"core/Device.h\"\n\n  #  include \"shell/Menu.h\"\n");
    write(root.path() / "platform/base/Log.cpp", "// #include <x>\n#include \"core/Device.h\"\n");
    auto violations = test::LayeringCheck::read(root.path()).violations();
    ASSERT_EQ(violations.size(), 2u);
    EXPECT_EQ(violations[0].describe(),
        "platform/base/Log.cpp:2: base may not include core (not among its declared dependencies)");
    EXPECT_EQ(violations[1].file, "src/core/sub/Logout.cpp");
    EXPECT_EQ(violations[1].line, 3);
    EXPECT_EQ(violations[1].library, "core");
    EXPECT_EQ(violations[1].included, "shell");
}

TEST_F(LayeringFixtureTree, PackagesAndRawLibrariesAreNotDependencies)
{
    write(root.path() / "src/libcurl/CMakeLists.txt", "lumet_library(libcurl)\n");
    write(root.path() / "src/m/CMakeLists.txt", "lumet_library(m)\n");
    auto check = test::LayeringCheck::read(root.path());
    EXPECT_FALSE(check.allowed("base").contains("libcurl"));
    EXPECT_FALSE(check.allowed("shell").contains("m"));
    EXPECT_TRUE(check.allowed("shell").contains("base")) << "through core";
}

} // namespace
