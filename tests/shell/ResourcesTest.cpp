// The resources the screens share: each language's texts come from several .strings files (one per group of
// screens), so a key defined in two of them would show whichever file is read first; every menu row of the
// "config" list needs its title in every language and its icon, and every key the code looks up as a literal
// needs its text in every language.
#include "base/values/Array.h"
#include "base/system/Bundle.h"
#include "base/values/Dictionary.h"
#include "base/text/StringTable.h"
#include "core/state/Singleton.h"

#include <gtest/gtest.h>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::vector<std::filesystem::path> languageFolders()
{
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(base::Bundle::main().resourcePath())) {
        if (entry.path().extension() == ".lproj")
            folders.push_back(entry.path());
    }
    return folders;
}

TEST(Resources, NoKeyIsDefinedInTwoStringsFilesOfOneLanguage)
{
    auto folders = languageFolders();
    ASSERT_GE(folders.size(), 2u);
    for (const auto& folder : folders) {
        std::map<std::string, std::string> fileOfKey;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".strings")
                continue;
            auto table = base::StringTable::load(entry.path());
            ASSERT_TRUE(table) << entry.path();
            std::string file = entry.path().filename().string();
            for (const std::string& key : table->keys()) {
                auto [earlier, added] = fileOfKey.emplace(key, file);
                EXPECT_TRUE(added) << "\"" << key << "\" is defined in both " << earlier->second << " and " << file
                                   << " of " << folder.filename();
            }
        }
    }
}

TEST(Resources, EveryMenuRowHasItsTitleInEveryLanguageAndItsIconAtBothScales)
{
    ASSERT_TRUE(core::Singleton::shared().loadConfig());
    const auto& config = core::Singleton::shared().config();
    ASSERT_TRUE(config);
    std::set<std::string> keys;
    const base::Value* byType = config->objectForKey("FunctionsByDeviceType");
    ASSERT_TRUE(byType && byType->dictionary());
    for (const base::Value& rows : byType->dictionary()->allValues()) {
        ASSERT_TRUE(rows.array());
        for (const base::Value& key : *rows.array())
            keys.insert(key.description());
    }
    EXPECT_TRUE(keys.contains("family_number"));
    // Without its icon a row's title would start at the left edge, out of line with the others.
    for (const std::string& key : keys) {
        for (const char* suffix : { ".png", "@2x.png" }) {
            auto file = base::Bundle::main().resourcePath() / "images" / ("menu_" + key + suffix);
            EXPECT_TRUE(std::filesystem::exists(file)) << file;
        }
    }
    for (const auto& folder : languageFolders()) {
        auto table = base::StringTable::loadFolder(folder);
        for (const std::string& key : keys)
            EXPECT_TRUE(table.lookup(key)) << "\"" << key << "\" has no title in " << folder.filename();
    }
}

// The keys passed as literals to the string lookup in the sources of the application, with the file of one
// use each; comments are left out, since their examples need not be real keys.
std::map<std::string, std::string> literalKeysInSources()
{
    static const std::regex lineComment("//[^\n]*");
    static const std::regex lookup(R"(localized\(\s*"([^"\\]*)\")");
    std::map<std::string, std::string> keys;
    for (const char* folder : { "app", "platform", "src" }) {
        for (const auto& entry :
            std::filesystem::recursive_directory_iterator(std::filesystem::path(LUMET_SOURCE_DIR) / folder)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
                continue;
            std::ostringstream text;
            text << std::ifstream(entry.path()).rdbuf();
            std::string code = std::regex_replace(text.str(), lineComment, "");
            for (std::sregex_iterator match(code.begin(), code.end(), lookup), end; match != end; ++match)
                keys.emplace((*match)[1].str(), entry.path().filename().string());
        }
    }
    return keys;
}

TEST(Resources, EveryKeyLookedUpAsALiteralIsInEveryLanguage)
{
    auto keys = literalKeysInSources();
    // The scan must see the lookups: a wrong folder or pattern would pass on nothing.
    ASSERT_TRUE(keys.contains("bad_netword"));
    for (const auto& folder : languageFolders()) {
        auto table = base::StringTable::loadFolder(folder);
        for (const auto& [key, file] : keys)
            EXPECT_TRUE(table.lookup(key)) << "\"" << key << "\" of " << file << " is not in " << folder.filename();
    }
}

} // namespace
