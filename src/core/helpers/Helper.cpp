#include "core/helpers/Helper.h"

#include "base/values/Array.h"
#include "base/system/Bundle.h"
#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/text/UTF8.h"
#include "base/system/UserDefaults.h"
#include "core/state/KeychainSettings.h"
#include "core/service/WebCall.h"

namespace core {

namespace {

    // The platform's white space: tab and the Unicode space separators (not line breaks).
    bool isBlank(char32_t c)
    {
        return c == U'\t' || c == U' ' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F
            || c == 0x205F || c == 0x3000;
    }

    bool isBlankText(std::string_view text)
    {
        size_t position = 0;
        while (position < text.size()) {
            auto c = base::utf8::decodeNext(text, position);
            if (!c || !isBlank(*c))
                return false;
        }
        return true;
    }

} // namespace

std::optional<base::Value> Helper::readSettingsByKey(std::string_view key)
{
    BASE_ASSERT_MAIN_THREAD();
    KeychainSettings::install();
    return base::UserDefaults::standard().objectForKey(key);
}

void Helper::saveSettingValue(const std::optional<base::Value>& value, std::string_view key)
{
    BASE_ASSERT_MAIN_THREAD();
    KeychainSettings::install();
    auto& defaults = base::UserDefaults::standard();
    if (value)
        defaults.setObject(*value, key);
    else
        defaults.removeObjectForKey(key);
    (void)defaults.synchronize(); // a failed write is logged; the value is written again at the next save or at exit
}

bool Helper::isNOTStringNullOrWhitespace(const std::optional<base::Value>& value)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!value || value->isNull())
        return false;
    if (const std::string* text = value->string())
        return !text->empty();
    if (const base::Data* data = value->data())
        return !data->empty();
    if (value->isArray())
        return value->array()->count() > 0;
    if (value->isDictionary())
        return value->dictionary()->count() > 0;
    return true;
}

std::optional<base::Value> Helper::isNotNullString(const std::optional<base::Value>& value)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!value || value->isNull())
        return std::nullopt;
    if (const std::string* text = value->string(); text && isBlankText(*text))
        return std::nullopt;
    return value;
}

std::string Helper::appVersion() { return base::Bundle::main().version(); }

void Helper::uploadDeviceToken(const std::optional<std::string>& token)
{
    BASE_ASSERT_MAIN_THREAD();
    // One blank stands for "no token".
    std::string value = token ? *token + "_Lumet_zentar_" + appVersion() + "_PRO" : " ";
    WebCall::post(
        "SaveAppleToken", base::Dictionary::make({ { "Token", value } }),
        [](const std::string& reply) { base::trace("net", "SaveAppleToken: " + reply); },
        [](const base::Error& error) { base::log("SaveAppleToken failed: " + error.description()); });
}

} // namespace core
