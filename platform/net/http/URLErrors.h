// net::URLErrors: the errors of the URL domain that URL loading reports (time-out, connection lost,
// cancelled, untrusted certificate, ...), each with a description and the failing URL, and the mapping of
// libcurl's result codes onto them. Pure; any thread.
//
//   base::Error error = net::URLErrors::make(base::Error::URLTimedOut, url, "The request timed out.");
#pragma once

#include "base/values/Error.h"
#include "base/text/URL.h"

#include <optional>
#include <string>

namespace net {

class URLErrors {
public:
    static constexpr long HTTPTooManyRedirects = -1007;
    static constexpr long RequestBodyStreamExhausted = -1021;
    // A redirect from https to a URL that is not https, which is refused.
    static constexpr long SecureConnectionRequired = -1022;
    // A redirect to another server that would send the request's body there again (a password, say),
    // which is refused.
    static constexpr long RedirectWouldResendBody = -1024;
    // A reply's body longer than its reader keeps in memory.
    static constexpr long DataLengthExceedsMaximum = -1103;

    static base::Error make(long code, const std::optional<base::URL>& url, std::string description,
        std::shared_ptr<const base::Error> underlying = nullptr);
    static base::Error cancelled(const std::optional<base::URL>& url);
    // The URL-domain error for a libcurl result code, with libcurl's own message as the failure reason.
    static base::Error fromCurl(int curlCode, const std::optional<base::URL>& url, const std::string& detail);
    // The same for a transfer whose request had gone out: a reply libcurl refuses to read (a status line it
    // does not understand, a header line too long to keep) is the server's bad response, with libcurl's
    // reason, rather than an unsupported URL or an unknown error.
    static base::Error fromCurlReadingReply(
        int curlCode, const std::optional<base::URL>& url, const std::string& detail);
};

} // namespace net
