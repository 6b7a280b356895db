#include "net/http/HTTPResponse.h"

#include "net/http/MediaType.h"

#include <charconv>

namespace net {

namespace {

    int64_t parseContentLength(const std::string* field)
    {
        if (!field)
            return -1;
        std::string_view text(*field);
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        int64_t length = -1;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
        if (error != std::errc() || end != text.data() + text.size() || length < 0)
            return -1;
        return length;
    }

} // namespace

HTTPResponse::HTTPResponse(base::URL url, int statusCode, HTTPHeaderFields headers)
    : m_url(std::move(url))
    , m_statusCode(statusCode)
    , m_headers(std::move(headers))
{
    if (const std::string* contentType = m_headers.value("Content-Type")) {
        if (auto type = MediaType::parse(*contentType)) {
            m_mimeType = std::move(type->mimeType);
            m_textEncodingName = std::move(type->charset);
        }
    }
    m_expectedContentLength = parseContentLength(m_headers.value("Content-Length"));
}

std::string HTTPResponse::description() const
{
    return "<HTTPResponse: " + m_url.absoluteString() + " " + std::to_string(m_statusCode) + ">";
}

} // namespace net
