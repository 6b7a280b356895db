// The routes of the local tracking service that are not web methods, beside the file endpoints: the store's
// product lookup (GET "/lookup?id=<application identifier>", answered with the store's JSON record
// {"resultCount", "results": [{"version", ...}]}) and the feedback conversation (GET reads it, POST of a
// JSON object adds a message to it). The service routes each request to its hook; each hook lives with the
// methods of the feature it serves (the lookup in PurchaseMethods.cpp, the conversation in
// SettingsMethods.cpp). Hooks run on the service's worker threads and work only on the store.
//
//   RouteReply reply = answerStoreLookup(store, request);   // {200, {"resultCount": 0, "results": []}}
#pragma once

#include "base/values/Value.h"
#include "tracking-service/ServiceStore.h"

#include <map>
#include <string>

namespace tracking_service {

struct RouteRequest {
    // "GET" or "POST".
    std::string httpMethod;
    std::multimap<std::string, std::string> query;
    std::string body;
    // The signed-in account when the request carries a valid session cookie, else empty.
    std::string account;

    // The first value of a query parameter, "" when absent.
    std::string queryValue(const std::string& key) const;
};

struct RouteReply {
    int status { 200 };
    // An object or an array, sent as JSON.
    base::Value body;
};

class ServiceRoutes {
public:
    static constexpr const char* LookupPath = "/lookup";
    static constexpr const char* LookupIdParameter = "id";
    static constexpr const char* FeedbackPath = "/feedback/conversation";
    // Endpoint names for the request log and the fault plan.
    static constexpr const char* LookupEndpoint = "lookup";
    static constexpr const char* FeedbackEndpoint = "feedback";
};

// The store's record of the application named by the query's "id".
RouteReply answerStoreLookup(ServiceStore& store, const RouteRequest& request);
// The feedback conversation of the request's account.
RouteReply answerFeedbackConversation(ServiceStore& store, const RouteRequest& request);

} // namespace tracking_service
