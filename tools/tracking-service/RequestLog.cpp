#include "tracking-service/RequestLog.h"

#include <strings.h>

namespace tracking_service {

namespace {

    bool sameName(std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
    }

} // namespace

std::string ReceivedRequest::header(std::string_view name) const
{
    for (const auto& [key, value] : headers) {
        if (sameName(key, name))
            return value;
    }
    return {};
}

bool ReceivedRequest::hasHeader(std::string_view name) const
{
    for (const auto& entry : headers) {
        if (sameName(entry.first, name))
            return true;
    }
    return false;
}

void RequestLog::add(ReceivedRequest request)
{
    std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(request));
}

std::vector<ReceivedRequest> RequestLog::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<ReceivedRequest> RequestLog::requestsTo(std::string_view endpoint) const
{
    std::lock_guard lock(m_mutex);
    std::vector<ReceivedRequest> matching;
    for (const auto& request : m_requests) {
        if (request.endpoint == endpoint)
            matching.push_back(request);
    }
    return matching;
}

void RequestLog::clear()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

} // namespace tracking_service
