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

    std::shared_ptr<const HTTPResponse::ContentType> parseContentType(const std::string* field)
    {
        static const auto none = std::make_shared<const HTTPResponse::ContentType>();
        if (!field)
            return none;
        // The replies of one service nearly always carry the same value: the last one read on this thread is
        // kept with what it names, and a reply carrying it again shares that instead of parsing it anew.
        thread_local std::string lastField;
        thread_local std::shared_ptr<const HTTPResponse::ContentType> lastContentType;
        if (lastContentType && *field == lastField)
            return lastContentType;
        auto contentType = none;
        if (auto type = MediaType::parse(*field))
            contentType = std::make_shared<const HTTPResponse::ContentType>(
                HTTPResponse::ContentType { std::move(type->mimeType), std::move(type->charset) });
        lastField = *field;
        lastContentType = contentType;
        return contentType;
    }

} // namespace

HTTPResponse::HTTPResponse(base::URL url, int statusCode, HTTPHeaderFields headers)
    : m_url(std::move(url))
    , m_statusCode(statusCode)
    , m_headers(std::move(headers))
    , m_contentType(parseContentType(m_headers.value("Content-Type")))
{
    m_expectedContentLength = parseContentLength(m_headers.value("Content-Length"));
}

std::string HTTPResponse::description() const
{
    return "<HTTPResponse: " + m_url.absoluteString() + " " + std::to_string(m_statusCode) + ">";
}

} // namespace net
