// base::Facts: the device and system facts the application asks for, from one place: model, device name,
// system name and version (uname), screen scale, the user's preferred languages (LANGUAGE, then LC_ALL,
// LC_MESSAGES and LANG) and the platform version number that version checks compare with. Every fact can be
// set, so tests can pin them; reset() goes back to the machine's own. Safe from any thread.
//
//   auto languages = base::Facts::current().preferredLanguages(); // {"zh-Hans", "en"}
//   base::Facts::current().setScreenScale(3.0);                  // in a test
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class Facts {
public:
    static Facts& current();

    std::string model() const;
    std::string deviceName() const;
    std::string systemName() const;
    std::string systemVersion() const;
    double screenScale() const;
    // Language codes in the platform's form ("en", "zh-Hans", "zh-Hant"), most preferred first; never empty.
    std::vector<std::string> preferredLanguages() const;
    // The platform foundation's version number. Version checks treat 993 and below as platform
    // generations older than the one the application is written for.
    double platformVersionNumber() const;

    void setModel(std::string model);
    void setDeviceName(std::string name);
    void setSystemName(std::string name);
    void setSystemVersion(std::string version);
    void setScreenScale(double scale);
    void setPreferredLanguages(std::vector<std::string> languages);
    void setPlatformVersionNumber(double number);
    // Back to the machine's facts and the current environment.
    void reset();

    // The preferred languages a locale environment gives: LANGUAGE is a ":"-separated list, the others
    // one locale each ("zh_CN.UTF-8"); "C" and "POSIX" name no language. zh_CN and zh_SG become "zh-Hans",
    // zh_TW, zh_HK and zh_MO "zh-Hant", other locales their language code. Duplicates are dropped; with
    // no language at all the answer is {"en"}.
    static std::vector<std::string> languagesFromLocaleVariables(
        std::string_view language, std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

private:
    Facts();
    void detect();

    mutable std::mutex m_mutex;
    std::string m_model;
    std::string m_deviceName;
    std::string m_systemName;
    std::string m_systemVersion;
    double m_screenScale { 2.0 };
    std::vector<std::string> m_preferredLanguages;
    double m_platformVersionNumber { 0 };
};

} // namespace base
