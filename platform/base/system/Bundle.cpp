#include "base/system/Bundle.h"

#include "base/system/Facts.h"
#include "base/text/StringTable.h"

#include <cstdlib>
#include <system_error>

namespace base {

namespace {

    constexpr const char* defaultIdentifier = "com.lumet.companion";
    constexpr const char* defaultVersion = "1.0";

    std::filesystem::path executablePath()
    {
        std::error_code error;
        auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        return error ? std::filesystem::path() : path;
    }

    bool isFolder(const std::filesystem::path& path)
    {
        std::error_code ignored;
        return std::filesystem::is_directory(path, ignored);
    }

    bool isFile(const std::filesystem::path& path)
    {
        std::error_code ignored;
        return std::filesystem::is_regular_file(path, ignored);
    }

} // namespace

Bundle::Bundle(std::filesystem::path resourcePath)
    : m_resourcePath(std::move(resourcePath))
{
    m_info[IdentifierKey] = defaultIdentifier;
    m_info[VersionKey] = defaultVersion;
    m_info[ShortVersionKey] = defaultVersion;
    m_info[ExecutableKey] = executablePath().filename().string();
    if (auto overrides = StringTable::load(m_resourcePath / "Info.strings"))
        for (const char* key : { IdentifierKey, VersionKey, ShortVersionKey, ExecutableKey })
            if (auto value = overrides->lookup(key))
                m_info[key] = *value;
}

Bundle& Bundle::main()
{
    static Bundle bundle(locateResources());
    return bundle;
}

std::filesystem::path Bundle::locateResources()
{
    if (const char* variable = std::getenv("LUMET_RESOURCES"); variable && *variable)
        return variable;
    auto besideExecutable = executablePath().parent_path() / "resources";
    if (isFolder(besideExecutable))
        return besideExecutable;
    // The build records the source tree's folder (a compiler cache may turn __FILE__ into a relative path).
    return LUMET_SOURCE_RESOURCES;
}

std::optional<std::filesystem::path> Bundle::pathForResource(
    std::string_view name, std::string_view type, std::string_view subdirectory) const
{
    std::string fileName(name);
    if (!type.empty())
        fileName.append(".").append(type);
    for (const auto& folder : { m_resourcePath, m_resourcePath / (preferredLocalization() + ".lproj") }) {
        auto candidate = folder / subdirectory / fileName;
        if (isFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::string Bundle::preferredLocalization() const
{
    auto languages = Facts::current().preferredLanguages();
    const auto hasFolder
        = [&](const std::string& language) { return isFolder(m_resourcePath / (language + ".lproj")); };
    for (const auto& language : languages)
        if (hasFolder(language))
            return language;
    for (const char* fallback : { "en", "Base" })
        if (hasFolder(fallback))
            return fallback;
    return languages.front();
}

std::optional<std::string> Bundle::infoValue(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_info.find(key);
    if (found == m_info.end())
        return std::nullopt;
    return found->second;
}

void Bundle::setInfoValue(const std::string& key, std::string value)
{
    std::lock_guard lock(m_mutex);
    m_info[key] = std::move(value);
}

std::string Bundle::identifier() const { return infoValue(IdentifierKey).value_or(""); }
std::string Bundle::version() const { return infoValue(VersionKey).value_or(""); }
std::string Bundle::shortVersion() const { return infoValue(ShortVersionKey).value_or(""); }
std::string Bundle::executableName() const { return infoValue(ExecutableKey).value_or(""); }

} // namespace base
