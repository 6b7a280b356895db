#include "shell/menu/MenuFunctions.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/loop/MainThread.h"
#include "core/state/Singleton.h"

namespace shell {

namespace {

    constexpr const char* byTypeKey = "FunctionsByDeviceType";
    constexpr const char* defaultKey = "DefaultFunctions";

    // Without a readable list the menu still leads home and out.
    std::vector<std::string> fallback() { return { MenuFunctions::Home, MenuFunctions::Logout }; }

    // The texts of a list; other elements are passed over.
    std::optional<std::vector<std::string>> keysOf(const base::Value* list)
    {
        if (!list || !list->array())
            return std::nullopt;
        std::vector<std::string> keys;
        for (const base::Value& element : *list->array()) {
            if (const std::string* key = element.string())
                keys.push_back(*key);
        }
        return keys;
    }

} // namespace

std::vector<std::string> MenuFunctions::forDeviceType(std::optional<int64_t> type)
{
    BASE_ASSERT_MAIN_THREAD();
    const auto& config = core::Singleton::shared().config();
    if (!config)
        return fallback();
    if (const base::Value* byType = config->objectForKey(byTypeKey); type && byType && byType->dictionary()) {
        if (auto keys = keysOf(byType->dictionary()->objectForKey(std::to_string(*type))))
            return *keys;
    }
    return keysOf(config->objectForKey(defaultKey)).value_or(fallback());
}

} // namespace shell
