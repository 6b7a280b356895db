#include "core/service/ServiceClient.h"

#include "base/loop/MainThread.h"
#include "core/service/RootUrl.h"
#include "networking/operations/XMLRequestOperation.h"

namespace core {

ServiceClient::ServiceClient(base::URL baseURL)
    : HTTPClient(std::move(baseURL))
{
    // Always accepted: the XML operation derives from the HTTP request operation.
    (void)registerHTTPOperationClass(networking::XMLRequestOperation::operationClass());
    setDefaultHeader("Accept", "application/json");
}

std::shared_ptr<ServiceClient> ServiceClient::sharedClient()
{
    BASE_ASSERT_MAIN_THREAD();
    static const std::shared_ptr<ServiceClient> client = [] {
        auto root = base::URL::parse(rootUrl());
        return std::make_shared<ServiceClient>(root ? *root : *base::URL::parse(DefaultRootUrl));
    }();
    return client;
}

} // namespace core
