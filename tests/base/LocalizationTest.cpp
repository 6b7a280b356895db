#include "base/text/Localization.h"
#include "base/system/Facts.h"
#include "base/text/LocalizedFormat.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

class LocalizationTest : public testing::Test {
protected:
    void TearDown() override { base::Facts::current().reset(); }

    void writeTable(const std::string& language, const std::string& table, const std::string& text)
    {
        auto folder = m_resources.path() / (language + ".lproj");
        std::filesystem::create_directories(folder);
        std::ofstream(folder / (table + ".strings"), std::ios::binary) << text;
    }

    test::TempDir m_resources;
};

TEST_F(LocalizationTest, LooksUpThePreferredLanguageAndFallsBackToTheKey)
{
    writeTable("en", "Localizable", "\"loading\" = \"Loading...\";\n");
    writeTable("zh-Hans", "Localizable", "/* 中文 */\n\"loading\" = \"加载中\";\n");
    writeTable("zh-Hans", "Networking", "\"File URL not reachable.\" = \"文件不可访问。\";");
    base::Facts::current().setPreferredLanguages({ "fr", "zh-Hans", "en" });
    base::Bundle bundle(m_resources.path());
    base::Localization localization(bundle);
    EXPECT_EQ(bundle.preferredLocalization(), "zh-Hans");
    EXPECT_EQ(localization.localizedString("loading"), "加载中");
    EXPECT_EQ(localization.localizedString("missing_key"), "missing_key");
    EXPECT_EQ(localization.localizedString("missing_key", "Default"), "Default");
    EXPECT_EQ(localization.localizedString("File URL not reachable.", "", "Networking"), "文件不可访问。");
    EXPECT_EQ(localization.localizedString("loading", "", "NoSuchTable"), "loading");

    base::Facts::current().setPreferredLanguages({ "de" });
    localization.reload();
    EXPECT_EQ(localization.localizedString("loading"), "Loading...");
}

TEST_F(LocalizationTest, TheDefaultTableIsEveryStringsFileOfTheLanguage)
{
    writeTable("en", "Localizable", "\"loading\" = \"Loading...\";\n");
    writeTable("en", "Chat", "\"send\" = \"Send\";\n\"twice\" = \"from Chat\";\n");
    writeTable("en", "Settings", "\"twice\" = \"from Settings\";\n");
    writeTable("fr", "Other", "\"send\" = \"Envoyer\";\n");
    base::Facts::current().setPreferredLanguages({ "en" });
    base::Bundle bundle(m_resources.path());
    base::Localization localization(bundle);
    EXPECT_EQ(localization.localizedString("loading"), "Loading...");
    EXPECT_EQ(localization.localizedString("send"), "Send");
    EXPECT_EQ(localization.localizedString("send", "", "Localizable"), "Send");
    EXPECT_EQ(localization.localizedString("twice"), "from Chat") << "files are read in name order, first wins";
    EXPECT_EQ(localization.localizedString("loading", "", "Chat"), "loading") << "a named table is its file alone";
    EXPECT_EQ(localization.localizedString("twice", "", "Settings"), "from Settings");
    EXPECT_EQ(base::StringTable::loadFolder(m_resources.path() / "none.lproj").size(), 0u);
}

TEST_F(LocalizationTest, StringsFileSyntax)
{
    auto table = base::StringTable::parse(R"(
        // line comment
        "escapes" = "quote \" backslash \\ newline \n tab \t unicode \U00e9\U4e2d octal \101";
        plain_key = "unquoted key";
        "self";
        "broken" = ;
        "after" = "still read"; /* trailing comment */
        "pair" = "\UD83D\UDE00";
        "twice" = "first"; "twice" = "second";
    )");
    EXPECT_EQ(table.lookup("escapes"), "quote \" backslash \\ newline \n tab \t unicode é中 octal A");
    EXPECT_EQ(table.lookup("plain_key"), "unquoted key");
    EXPECT_EQ(table.lookup("self"), "self");
    EXPECT_FALSE(table.lookup("broken"));
    EXPECT_EQ(table.lookup("after"), "still read");
    EXPECT_EQ(table.lookup("pair"), "😀");
    EXPECT_EQ(table.lookup("twice"), "second");
    EXPECT_EQ(base::StringTable::parse("\"unterminated = \"x").size(), 0u);
}

TEST_F(LocalizationTest, UTF16TablesAreRead)
{
    auto folder = m_resources.path() / "en.lproj";
    std::filesystem::create_directories(folder);
    std::string text = "\"k\" = \"v\";";
    std::string utf16 = "\xFF\xFE";
    for (char c : text)
        utf16 += std::string { c, '\0' };
    std::ofstream(folder / "Localizable.strings", std::ios::binary) << utf16;
    EXPECT_EQ(base::StringTable::load(folder / "Localizable.strings")->lookup("k"), "v");
}

TEST(LocalizedFormat, SubstitutesObjectsAndIntegers)
{
    using base::LocalizedFormat;
    EXPECT_EQ(LocalizedFormat::format("%@ %@", { "last_refresh_time", "12:30" }), "last_refresh_time 12:30");
    EXPECT_EQ(LocalizedFormat::format("第%d节 %ld%%", { 3, 99L }), "第3节 99%");
    EXPECT_EQ(LocalizedFormat::format("%2$@, %1$@!", { "world", "Hello" }), "Hello, world!");
    EXPECT_EQ(LocalizedFormat::format("%@ = %d", { 0.5, 2.9 }), "0.5 = 2");
    EXPECT_EQ(LocalizedFormat::format("%lu %lld %i %u", { 1, 2, 3, 4 }), "1 2 3 4");
}

TEST(LocalizedFormat, FaultyTranslationsNeverReadPastTheArguments)
{
    using base::LocalizedFormat;
    EXPECT_EQ(LocalizedFormat::format("%@ and %@", { "one" }), "one and %@");
    EXPECT_EQ(LocalizedFormat::format("%s %n %x %.2f %", { "a", "b" }), "%s %n %x %.2f %");
    EXPECT_EQ(LocalizedFormat::format("%9$@ %0$@", { "a" }), "%9$@ %0$@");
    EXPECT_EQ(LocalizedFormat::format("%d", { "not a number" }), "not a number");
    EXPECT_EQ(LocalizedFormat::format("no placeholders", {}), "no placeholders");
}

} // namespace
