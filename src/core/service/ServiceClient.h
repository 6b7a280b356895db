// core::ServiceClient: the application's one HTTP client, through which every web call of the tracking
// service goes (see WebCall). Created on first use; it registers the XML reply operation and asks for JSON
// ("Accept: application/json") by default. Every path it is given is an absolute URL, so its base URL (the
// server root at creation) is never used. Main thread.
//
//   core::ServiceClient::sharedClient()->setDefaultHeader("Cookie", "");
#pragma once

#include "networking/http/HTTPClient.h"

#include <memory>

namespace core {

class ServiceClient : public networking::HTTPClient {
public:
    static std::shared_ptr<ServiceClient> sharedClient();

    explicit ServiceClient(base::URL baseURL);
};

} // namespace core
