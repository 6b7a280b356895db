#include "tracking-service/RequestLog.h"

#include <strings.h>

namespace tracking_service {

namespace {

    bool sameName(std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
    }

    // The memory a kept request takes, near enough to bound the log by: what its texts have allocated, not
    // what they hold now.
    size_t footprint(const ReceivedRequest& request)
    {
        constexpr size_t EntryOverhead = 64;
        size_t bytes = sizeof request + request.httpMethod.capacity() + request.path.capacity()
            + request.endpoint.capacity() + request.body.capacity();
        for (const auto& [name, value] : request.headers)
            bytes += EntryOverhead + name.capacity() + value.capacity();
        for (const auto& [name, value] : request.queryParameters)
            bytes += EntryOverhead + name.capacity() + value.capacity();
        return bytes;
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

void RequestLog::setRecording(Recording recording)
{
    std::lock_guard lock(m_mutex);
    m_recording = recording;
}

void RequestLog::add(ReceivedRequest request)
{
    std::lock_guard lock(m_mutex);
    if (m_recording == Recording::Off)
        return;
    // Emptying a text keeps its allocation: the body's memory goes back only with the text itself.
    if (m_recording == Recording::WithoutBodies)
        std::string().swap(request.body);
    m_bytes += footprint(request);
    m_requests.push_back(std::move(request));
    while (m_bytes > ByteLimit) {
        m_bytes -= footprint(m_requests.front());
        m_requests.pop_front();
    }
}

std::vector<ReceivedRequest> RequestLog::requests() const
{
    std::lock_guard lock(m_mutex);
    return { m_requests.begin(), m_requests.end() };
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

size_t RequestLog::bytesHeld() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

void RequestLog::clear()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_bytes = 0;
}

} // namespace tracking_service
