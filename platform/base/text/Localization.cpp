#include "base/text/Localization.h"

namespace base {

Localization& Localization::main()
{
    static Localization localization(Bundle::main());
    return localization;
}

std::string Localization::localizedString(
    std::string_view key, std::string_view defaultValue, std::string_view table) const
{
    std::string tableName(table.empty() ? "Localizable" : table);
    std::lock_guard lock(m_mutex);
    auto found = m_tables.find(tableName);
    if (found == m_tables.end()) {
        auto folder = m_bundle.resourcePath() / (m_bundle.preferredLocalization() + ".lproj");
        StringTable loaded = tableName == "Localizable"
            ? StringTable::loadFolder(folder)
            : StringTable::load(folder / (tableName + ".strings")).value_or(StringTable());
        found = m_tables.emplace(tableName, std::move(loaded)).first;
    }
    if (auto text = found->second.lookup(key))
        return *text;
    return std::string(defaultValue.empty() ? key : defaultValue);
}

void Localization::reload()
{
    std::lock_guard lock(m_mutex);
    m_tables.clear();
}

} // namespace base
