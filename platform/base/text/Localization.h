// base::Localization: the localised texts of a bundle, from the folder "<resources>/<language>.lproj" of the
// bundle's preferred localisation. A named table is its file "<table>.strings"; the default table
// ("Localizable", or no name) is every .strings file of the folder read as one, so that each group of
// screens keeps its texts in a file of its own. A key the table lacks gives the caller's default value, or
// the key itself when there is none. Tables are read once and kept. Texts with arguments are filled by
// LocalizedFormat, never by printf. Safe from any thread.
//
//   std::string title = base::localized("select_play_back_duration");
//   std::string reason = base::Localization::main().localizedString("File URL not reachable.", "", "Networking");
//   std::string day = base::LocalizedFormat::format(base::localized("day"), { 3 });
#pragma once

#include "base/system/Bundle.h"
#include "base/text/StringTable.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace base {

class Localization {
public:
    explicit Localization(const Bundle& bundle)
        : m_bundle(bundle)
    {
    }
    // The main bundle's texts.
    static Localization& main();

    // `table` empty means "Localizable", the default table.
    std::string localizedString(
        std::string_view key, std::string_view defaultValue = {}, std::string_view table = {}) const;

    // Forgets the tables read so far (after the preferred languages change).
    void reload();

private:
    const Bundle& m_bundle;
    mutable std::mutex m_mutex;
    mutable std::map<std::string, StringTable, std::less<>> m_tables;
};

// The main bundle's text for `key` in the default table.
inline std::string localized(std::string_view key) { return Localization::main().localizedString(key); }

} // namespace base
