#include "base/system/Bundle.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "core/state/Singleton.h"
#include "networking/plist/PropertyListSerialization.h"

namespace core {

const base::DictionaryRef& Singleton::config() const
{
    BASE_ASSERT_MAIN_THREAD();
    return m_config;
}

bool Singleton::loadConfig()
{
    BASE_ASSERT_MAIN_THREAD();
    m_config = nullptr;
    auto path = base::Bundle::main().pathForResource(ConfigName, "plist");
    auto bytes = path ? base::Files::read(*path) : std::nullopt;
    if (!bytes) {
        base::log("config: no readable property list \"config.plist\" in the resources");
        return false;
    }
    base::Error error;
    auto list = networking::PropertyListSerialization::propertyListWithData(
        base::Data(bytes->begin(), bytes->end()), networking::PropertyListSerialization::Immutable, nullptr, &error);
    if (!list || !list->dictionary()) {
        base::log("config: \"config.plist\" holds no dictionary: " + error.description());
        return false;
    }
    m_config = list->dictionary();
    return true;
}

} // namespace core
