// tracking_service::RequestLog: every request the local tracking service received, in arrival order, so that
// tests can check what a caller sent (the cookie, the body, the content type). Safe from any thread.
//
//   auto requests = service.requestLog().requests();
//   EXPECT_EQ(requests.back().header("Cookie"), "LumetSession=...");
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tracking_service {

struct ReceivedRequest {
    std::string httpMethod;
    // The path without the query.
    std::string path;
    // The web method's name, or the file endpoint's ("LumetDow.ashx", "PushMessage.ashx").
    std::string endpoint;
    std::multimap<std::string, std::string> headers;
    std::map<std::string, std::string> queryParameters;
    std::string body;

    // The first value of a header (names compared without regard to case), empty when absent.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
};

class RequestLog {
public:
    void add(ReceivedRequest request);
    std::vector<ReceivedRequest> requests() const;
    // The requests made to one endpoint.
    std::vector<ReceivedRequest> requestsTo(std::string_view endpoint) const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::vector<ReceivedRequest> m_requests;
};

} // namespace tracking_service
