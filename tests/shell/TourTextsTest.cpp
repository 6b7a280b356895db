// Every text of every screen the tour pictures shows whole in English, laid out with the real fonts: a text
// drawn shortened with an ellipsis, cut at its width or missing lines fails, unless its string key is one of
// the exceptions below.
#include "ShellFixture.h"

#include "base/system/Bundle.h"
#include "base/text/StringTable.h"
#include "gfx/text/CutTextWatch.h"
#include "gfx/text/PangoTextMeasurer.h"
#include "host/HeadlessHost.h"
#include "shell/tour/Tour.h"

#include <map>
#include <set>

namespace {

// Keys whose English text may be drawn cut, each with the reason.
const std::map<std::string, std::string> allowedCuts {};

class TourTexts : public test::ShellTest {
protected:
    // The keys of the English table whose text is `text`.
    static std::vector<std::string> keysOf(const std::string& text)
    {
        static const base::StringTable english
            = base::StringTable::loadFolder(base::Bundle::main().resourcePath() / "en.lproj");
        std::vector<std::string> keys;
        for (const std::string& key : english.keys()) {
            if (english.lookup(key) == text)
                keys.push_back(key);
        }
        return keys;
    }

    // Whether one of the text's keys is allowed to be cut.
    static bool allowed(const std::string& text)
    {
        for (const std::string& key : keysOf(text)) {
            if (allowedCuts.contains(key))
                return true;
        }
        return false;
    }
};

TEST_F(TourTexts, NoTextOfAnyScreenIsCut)
{
    gfx::TextMeasurer::Override realFonts(std::make_shared<gfx::PangoTextMeasurer>());
    test::TempDir folder;
    host::HeadlessHost pictures { folder.path() };
    // Texts drawn cut since the last picture, and each text drawn cut with the pictures it was drawn for.
    std::set<std::string> pending;
    std::map<std::string, std::set<std::string>> cut;
    gfx::CutTextWatch watch([&](const std::string& text) { pending.insert(text); });

    launch({ account, password });
    std::optional<bool> outcome;
    auto tour = std::make_shared<shell::Tour>(
        application,
        [&](const std::string& name) {
            bool written = pictures.writeFrame(name).has_value();
            for (const std::string& text : pending)
                cut[text].insert(name);
            pending.clear();
            return written;
        },
        [&](bool succeeded) { outcome = succeeded; });
    tour->start();
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }, 240));
    EXPECT_EQ(outcome, true);

    for (const auto& [text, where] : cut) {
        if (allowed(text))
            continue;
        std::string keys;
        for (const std::string& key : keysOf(text))
            keys += " \"" + key + "\"";
        std::string screens;
        for (const std::string& name : where)
            screens += " " + name;
        ADD_FAILURE() << "\"" << text << "\" (key" << (keys.empty() ? " none" : keys) << ") is cut on" << screens;
    }
}

} // namespace
