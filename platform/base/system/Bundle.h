// base::Bundle: the application's resources folder and its info values. The main bundle finds the folder
// through $LUMET_RESOURCES, else a "resources" folder next to the executable, else the source tree's
// resources/. Info values (identifier, version, short version, executable name) have built-in defaults that
// a "Info.strings" file in the resources folder may override, and tests may set. Safe from any thread.
//
//   auto config = base::Bundle::main().pathForResource("config", "plist");
//   std::string agent = base::Bundle::main().executableName() + "/" + base::Bundle::main().version();
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace base {

class Bundle {
public:
    // Keys of the info values (also the keys of Info.strings).
    static constexpr const char* IdentifierKey = "identifier";
    static constexpr const char* VersionKey = "version";
    static constexpr const char* ShortVersionKey = "shortVersion";
    static constexpr const char* ExecutableKey = "executable";

    explicit Bundle(std::filesystem::path resourcePath);
    static Bundle& main();
    // Where the main bundle's resources are, by the rules above (the source tree's folder when no other exists).
    static std::filesystem::path locateResources();

    const std::filesystem::path& resourcePath() const { return m_resourcePath; }

    // "<resources>/<subdirectory>/<name>.<type>" (no "." when `type` is empty), else the same inside the
    // folder of the preferred localisation; nothing when neither file exists.
    [[nodiscard]] std::optional<std::filesystem::path> pathForResource(
        std::string_view name, std::string_view type, std::string_view subdirectory = {}) const;

    // The first of the user's preferred languages that has a "<language>.lproj" folder; else "en" or
    // "Base" when that folder exists; else the first preferred language.
    std::string preferredLocalization() const;

    [[nodiscard]] std::optional<std::string> infoValue(std::string_view key) const;
    void setInfoValue(const std::string& key, std::string value);
    std::string identifier() const;
    std::string version() const;
    std::string shortVersion() const;
    std::string executableName() const;

private:
    std::filesystem::path m_resourcePath;
    mutable std::mutex m_mutex;
    std::map<std::string, std::string, std::less<>> m_info;
};

} // namespace base
