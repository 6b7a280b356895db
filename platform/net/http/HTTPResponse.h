// net::HTTPResponse: the status and header fields of a reply, with what they tell: the media type, the
// character set it names and the announced length of the body. Immutable once made; shared between the
// main thread and its readers.
//
//   if (response->statusCode() == 200 && response->mimeType() == "application/json") ...
//   const std::string* cookie = response->valueForHTTPHeaderField("Set-Cookie"); // repeated fields joined
#pragma once

#include "base/text/URL.h"
#include "net/http/HTTPHeaderFields.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace net {

class HTTPResponse {
public:
    HTTPResponse(base::URL url, int statusCode, HTTPHeaderFields headers);

    const base::URL& url() const { return m_url; }
    int statusCode() const { return m_statusCode; }
    const HTTPHeaderFields& allHeaderFields() const { return m_headers; }
    const std::string* valueForHTTPHeaderField(std::string_view field) const { return m_headers.value(field); }

    // The lower-cased media type of "Content-Type"; nothing when the reply names none.
    const std::optional<std::string>& mimeType() const { return m_contentType->mimeType; }
    // The charset parameter of "Content-Type" as written; nothing when there is none.
    const std::optional<std::string>& textEncodingName() const { return m_contentType->charset; }
    // "Content-Length", or -1 when the reply does not announce a valid one.
    int64_t expectedContentLength() const { return m_expectedContentLength; }

    std::string description() const;

    // What a "Content-Type" value names; shared by the replies that carry the same value.
    struct ContentType {
        std::optional<std::string> mimeType;
        std::optional<std::string> charset;
    };

private:
    base::URL m_url;
    int m_statusCode;
    HTTPHeaderFields m_headers;
    std::shared_ptr<const ContentType> m_contentType;
    int64_t m_expectedContentLength { -1 };
};

} // namespace net
