#include "base/system/Facts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/utsname.h>
#include <unistd.h>

namespace base {

namespace {

    constexpr const char* defaultModel = "PC";
    constexpr double defaultScreenScale = 2.0;
    // The foundation version of the platform generation the application is written for.
    constexpr double defaultPlatformVersionNumber = 1047.25;

    std::string_view environment(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? value : "";
    }

    std::string lowercase(std::string_view text)
    {
        std::string lower(text);
        std::transform(lower.begin(), lower.end(), lower.begin(),
            [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        return lower;
    }

    // The script a Chinese locale's region (or script tag) stands for.
    const char* chineseLanguage(std::string_view region)
    {
        if (region == "TW" || region == "HK" || region == "MO" || region == "Hant")
            return "zh-Hant";
        return "zh-Hans";
    }

    // "zh_CN.UTF-8@modifier" -> "zh-Hans"; "en_US" -> "en"; "" for "C", "POSIX" and blanks.
    std::string languageOfLocale(std::string_view locale)
    {
        locale = locale.substr(0, locale.find_first_of(".@"));
        if (locale.empty() || locale == "C" || locale == "POSIX")
            return "";
        size_t separator = locale.find_first_of("_-");
        std::string_view language = locale.substr(0, separator);
        if (lowercase(language) == "zh")
            return chineseLanguage(separator == std::string_view::npos ? "" : locale.substr(separator + 1));
        // Built straight into the result: moving a local lowercase copy out makes GCC 12 at -O2 report a
        // false overlap (-Wrestrict) in the string's copy.
        return lowercase(language);
    }

} // namespace

Facts& Facts::current()
{
    static Facts facts;
    return facts;
}

Facts::Facts() { detect(); }

void Facts::detect()
{
    utsname names {};
    uname(&names);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    m_model = defaultModel;
    m_deviceName = host;
    m_systemName = names.sysname;
    m_systemVersion = names.release;
    m_screenScale = defaultScreenScale;
    m_preferredLanguages = languagesFromLocaleVariables(
        environment("LANGUAGE"), environment("LC_ALL"), environment("LC_MESSAGES"), environment("LANG"));
    m_platformVersionNumber = defaultPlatformVersionNumber;
}

std::vector<std::string> Facts::languagesFromLocaleVariables(
    std::string_view language, std::string_view lcAll, std::string_view lcMessages, std::string_view lang)
{
    std::vector<std::string> languages;
    const auto add = [&](std::string_view locale) {
        std::string code = languageOfLocale(locale);
        if (!code.empty() && std::find(languages.begin(), languages.end(), code) == languages.end())
            languages.push_back(std::move(code));
    };
    while (!language.empty()) {
        size_t colon = language.find(':');
        add(language.substr(0, colon));
        language = colon == std::string_view::npos ? "" : language.substr(colon + 1);
    }
    add(lcAll);
    add(lcMessages);
    add(lang);
    if (languages.empty())
        languages.push_back("en");
    return languages;
}

void Facts::reset()
{
    std::lock_guard lock(m_mutex);
    detect();
}

std::string Facts::model() const
{
    std::lock_guard lock(m_mutex);
    return m_model;
}

std::string Facts::deviceName() const
{
    std::lock_guard lock(m_mutex);
    return m_deviceName;
}

std::string Facts::systemName() const
{
    std::lock_guard lock(m_mutex);
    return m_systemName;
}

std::string Facts::systemVersion() const
{
    std::lock_guard lock(m_mutex);
    return m_systemVersion;
}

double Facts::screenScale() const
{
    std::lock_guard lock(m_mutex);
    return m_screenScale;
}

std::vector<std::string> Facts::preferredLanguages() const
{
    std::lock_guard lock(m_mutex);
    return m_preferredLanguages;
}

double Facts::platformVersionNumber() const
{
    std::lock_guard lock(m_mutex);
    return m_platformVersionNumber;
}

void Facts::setModel(std::string model)
{
    std::lock_guard lock(m_mutex);
    m_model = std::move(model);
}

void Facts::setDeviceName(std::string name)
{
    std::lock_guard lock(m_mutex);
    m_deviceName = std::move(name);
}

void Facts::setSystemName(std::string name)
{
    std::lock_guard lock(m_mutex);
    m_systemName = std::move(name);
}

void Facts::setSystemVersion(std::string version)
{
    std::lock_guard lock(m_mutex);
    m_systemVersion = std::move(version);
}

void Facts::setScreenScale(double scale)
{
    std::lock_guard lock(m_mutex);
    m_screenScale = scale;
}

void Facts::setPreferredLanguages(std::vector<std::string> languages)
{
    std::lock_guard lock(m_mutex);
    m_preferredLanguages = languages.empty() ? std::vector<std::string> { "en" } : std::move(languages);
}

void Facts::setPlatformVersionNumber(double number)
{
    std::lock_guard lock(m_mutex);
    m_platformVersionNumber = number;
}

} // namespace base
