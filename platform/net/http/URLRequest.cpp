#include "net/http/URLRequest.h"

#include <atomic>

namespace net {

namespace {

    std::atomic<double>& defaultTimeoutSeconds()
    {
        static std::atomic<double> seconds { 60.0 };
        return seconds;
    }

} // namespace

void URLRequest::setValue(std::optional<std::string> value, std::string_view field)
{
    if (value)
        m_headers.set(field, std::move(*value));
    else
        m_headers.remove(field);
}

void URLRequest::setHTTPBody(std::optional<base::Data> body)
{
    m_body = std::move(body);
    m_bodyStream = nullptr;
}

void URLRequest::setHTTPBodyStream(std::shared_ptr<InputStream> stream)
{
    m_bodyStream = std::move(stream);
    m_body.reset();
}

base::Duration URLRequest::timeoutInterval() const { return m_timeout.value_or(defaultTimeoutInterval()); }

base::Duration URLRequest::defaultTimeoutInterval() { return base::Duration(defaultTimeoutSeconds().load()); }

void URLRequest::setDefaultTimeoutInterval(base::Duration interval) { defaultTimeoutSeconds() = interval.count(); }

std::string URLRequest::description() const
{
    return "<URLRequest: " + m_method + " " + (m_url ? m_url->absoluteString() : std::string("(no URL)")) + ">";
}

bool URLRequest::operator==(const URLRequest& other) const
{
    return m_url == other.m_url && m_method == other.m_method && m_headers == other.m_headers && m_body == other.m_body
        && m_bodyStream == other.m_bodyStream && m_timeout == other.m_timeout && m_cachePolicy == other.m_cachePolicy;
}

} // namespace net
