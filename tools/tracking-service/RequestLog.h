// tracking_service::RequestLog: the latest requests the local tracking service received, in arrival order, so
// that tests can check what a caller sent (the cookie, the body, the content type). What it keeps is asked
// for: by default each request without its body (which may hold a password or a message's text), with its
// body when a test asks, or nothing (the stand-alone service keeps nothing). It holds at most ByteLimit bytes
// of requests, counted as the memory their texts have allocated: the oldest go first. Safe from any thread.
//
//   service.requestLog().setRecording(tracking_service::RequestLog::Recording::WithBodies);
//   auto requests = service.requestLog().requests();
//   EXPECT_EQ(requests.back().header("Cookie"), "LumetSession=...");
#pragma once

#include <cstddef>
#include <deque>
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
    // Empty unless the log keeps bodies.
    std::string body;

    // The first value of a header (names compared without regard to case), empty when absent.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
};

class RequestLog {
public:
    enum class Recording { Off, WithoutBodies, WithBodies };
    static constexpr size_t ByteLimit = 32 * 1024 * 1024;

    // Applies to the requests that come after.
    void setRecording(Recording recording);
    void add(ReceivedRequest request);
    std::vector<ReceivedRequest> requests() const;
    // The requests made to one endpoint.
    std::vector<ReceivedRequest> requestsTo(std::string_view endpoint) const;
    // The memory the kept requests take, as the bound counts it.
    size_t bytesHeld() const;
    void clear();

private:
    mutable std::mutex m_mutex;
    Recording m_recording { Recording::WithoutBodies };
    std::deque<ReceivedRequest> m_requests;
    size_t m_bytes { 0 };
};

} // namespace tracking_service
