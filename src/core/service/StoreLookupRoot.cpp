#include "core/service/StoreLookupRoot.h"

#include "base/system/UserDefaults.h"
#include "core/state/Singleton.h"

namespace core {

std::string storeLookupRoot()
{
    if (auto root = base::UserDefaults::standard().stringForKey(StoreLookupRootKey))
        return *root;
    std::string server = Singleton::shared().server();
    while (server.ends_with('/'))
        server.pop_back();
    return server;
}

std::string storeLookupURL() { return storeLookupRoot() + StoreLookupPath + "?id=" + StoreIdentifier; }

} // namespace core
