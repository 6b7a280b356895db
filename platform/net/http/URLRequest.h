// net::URLRequest: what a connection sends: a URL (possibly none, which the connection reports as a bad URL),
// a method, header fields, a body given as bytes or as a stream, and a time-out. The time-out is the longest
// the transfer may stay idle; unless set, it is the process-wide default (60 s, settable so tests can use
// short ones), read when the transfer starts. A value type: copies share only the body stream.
//
//   net::URLRequest request(base::URL::parse("http://127.0.0.1:8080/api"));
//   request.setHTTPMethod("POST");
//   request.setValue("application/json", "Content-Type");
//   request.setHTTPBody(base::Data { '{', '}' });
#pragma once

#include "base/time/Clock.h"
#include "base/text/URL.h"
#include "base/values/Value.h"
#include "net/http/HTTPHeaderFields.h"
#include "net/streams/InputStream.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// Which local cache a request may answer from. The loading layer keeps no cache of its own, so only callers
// that keep one (the image cache) read it.
enum class URLRequestCachePolicy {
    UseProtocolCachePolicy = 0,
    ReloadIgnoringLocalCacheData = 1,
    ReturnCacheDataElseLoad = 2,
    ReturnCacheDataDontLoad = 3,
    ReloadIgnoringLocalAndRemoteCacheData = 4,
    ReloadRevalidatingCacheData = 5
};

class URLRequest {
public:
    URLRequest() = default;
    explicit URLRequest(std::optional<base::URL> url)
        : m_url(std::move(url))
    {
    }

    const std::optional<base::URL>& url() const { return m_url; }
    void setURL(std::optional<base::URL> url) { m_url = std::move(url); }

    const std::string& httpMethod() const { return m_method; }
    void setHTTPMethod(std::string method) { m_method = std::move(method); }

    const HTTPHeaderFields& allHTTPHeaderFields() const { return m_headers; }
    void setAllHTTPHeaderFields(HTTPHeaderFields fields) { m_headers = std::move(fields); }
    // Looked up without regard to case.
    const std::string* valueForHTTPHeaderField(std::string_view field) const { return m_headers.value(field); }
    // Replaces the field; nothing removes it.
    void setValue(std::optional<std::string> value, std::string_view field);
    // Joins the value to a present field with ", ".
    void addValue(std::string_view value, std::string_view field) { m_headers.add(field, value); }

    // Setting a body drops a body stream and the other way round.
    const std::optional<base::Data>& httpBody() const { return m_body; }
    void setHTTPBody(std::optional<base::Data> body);
    const std::shared_ptr<InputStream>& httpBodyStream() const { return m_bodyStream; }
    void setHTTPBodyStream(std::shared_ptr<InputStream> stream);

    URLRequestCachePolicy cachePolicy() const { return m_cachePolicy; }
    void setCachePolicy(URLRequestCachePolicy policy) { m_cachePolicy = policy; }

    base::Duration timeoutInterval() const;
    void setTimeoutInterval(base::Duration interval) { m_timeout = interval; }

    static base::Duration defaultTimeoutInterval();
    static void setDefaultTimeoutInterval(base::Duration interval);

    std::string description() const;

    bool operator==(const URLRequest& other) const;

private:
    std::optional<base::URL> m_url;
    std::string m_method { "GET" };
    HTTPHeaderFields m_headers;
    std::optional<base::Data> m_body;
    std::shared_ptr<InputStream> m_bodyStream;
    std::optional<base::Duration> m_timeout;
    URLRequestCachePolicy m_cachePolicy { URLRequestCachePolicy::UseProtocolCachePolicy };
};

} // namespace net
