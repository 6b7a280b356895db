#include "net/http/URLErrors.h"

#include <curl/curl.h>

namespace net {

base::Error URLErrors::make(long code, const std::optional<base::URL>& url, std::string description,
    std::shared_ptr<const base::Error> underlying)
{
    base::Dictionary::Pairs info { { base::Error::LocalizedDescriptionKey, std::move(description) } };
    if (url) {
        info.emplace_back(base::Error::FailingURLKey, url->absoluteString());
        info.emplace_back(base::Error::FailingURLStringKey, url->absoluteString());
    }
    return base::Error(base::Error::URLDomain, code, std::move(info), std::move(underlying));
}

base::Error URLErrors::cancelled(const std::optional<base::URL>& url)
{
    return make(base::Error::URLCancelled, url, "cancelled");
}

base::Error URLErrors::fromCurl(int curlCode, const std::optional<base::URL>& url, const std::string& detail)
{
    long code = base::Error::URLUnknown;
    std::string description = "An unknown error occurred.";
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_URL_MALFORMAT:
        code = base::Error::URLBadURL;
        description = "The URL is not valid.";
        break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        code = base::Error::URLUnsupportedURL;
        description = "The URL is not supported.";
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        code = base::Error::URLCannotFindHost;
        description = "A server with the specified hostname could not be found.";
        break;
    case CURLE_COULDNT_CONNECT:
        code = base::Error::URLCannotConnectToHost;
        description = "Could not connect to the server.";
        break;
    case CURLE_OPERATION_TIMEDOUT:
        code = base::Error::URLTimedOut;
        description = "The request timed out.";
        break;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        code = base::Error::URLNetworkConnectionLost;
        description = "The network connection was lost.";
        break;
    case CURLE_WEIRD_SERVER_REPLY:
        code = base::Error::URLBadServerResponse;
        description = "The server returned a reply that could not be read.";
        break;
    case CURLE_BAD_CONTENT_ENCODING:
        code = base::Error::URLCannotDecodeContentData;
        description = "The reply's content encoding could not be decoded.";
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        code = HTTPTooManyRedirects;
        description = "Too many HTTP redirects.";
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        code = base::Error::URLServerCertificateUntrusted;
        description = "The certificate for this server is invalid.";
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        code = base::Error::URLSecureConnectionFailed;
        description = "A TLS error has occurred and a secure connection to the server cannot be made.";
        break;
    default:
        break;
    }
    if (!detail.empty())
        description += " (" + detail + ")";
    return make(code, url, std::move(description));
}

base::Error URLErrors::fromCurlReadingReply(
    int curlCode, const std::optional<base::URL>& url, const std::string& detail)
{
    // libcurl does not always say why; the reason is then the one its code stands for once a reply is read.
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_UNSUPPORTED_PROTOCOL:
        return fromCurl(CURLE_WEIRD_SERVER_REPLY, url, detail.empty() ? "unreadable status line" : detail);
    case CURLE_OUT_OF_MEMORY:
        return fromCurl(CURLE_WEIRD_SERVER_REPLY, url, detail.empty() ? "reply header too large" : detail);
    default:
        return fromCurl(curlCode, url, detail);
    }
}

} // namespace net
