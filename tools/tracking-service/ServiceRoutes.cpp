#include "tracking-service/ServiceRoutes.h"

namespace tracking_service {

std::string RouteRequest::queryValue(const std::string& key) const
{
    auto found = query.find(key);
    return found == query.end() ? std::string() : found->second;
}

} // namespace tracking_service
