// The resources the screens share: each language's texts come from several .strings files (one per group of
// screens), so a key defined in two of them would show whichever file is read first; and every menu row
// of the "config" list needs its title in every language.
#include "base/values/Array.h"
#include "base/system/Bundle.h"
#include "base/values/Dictionary.h"
#include "base/text/StringTable.h"
#include "core/state/Singleton.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

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

TEST(Resources, EveryMenuRowHasItsTitleInEveryLanguage)
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
    for (const auto& folder : languageFolders()) {
        auto table = base::StringTable::loadFolder(folder);
        for (const std::string& key : keys)
            EXPECT_TRUE(table.lookup(key)) << "\"" << key << "\" has no title in " << folder.filename();
    }
}

} // namespace
