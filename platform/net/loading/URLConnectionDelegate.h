// net::URLConnectionDelegate: what a connection tells its owner, and asks it, while a request runs. Every
// call comes on the main thread, in a turn of the main run loop, and must not block it. The defaults answer
// as a connection does for an owner that does not care: credentials only from the shared store,
// certificates that fail verification refused, redirects followed, no new body stream.
//
//   class Download : public net::URLConnectionDelegate {
//       void didReceiveData(net::URLConnection&, const uint8_t* bytes, size_t n) override { append(bytes, n); }
//   };
#pragma once

#include "base/values/Error.h"
#include "net/http/HTTPResponse.h"
#include "net/streams/InputStream.h"
#include "net/auth/URLAuthenticationChallenge.h"
#include "net/http/URLRequest.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace net {

class URLConnection;

class URLConnectionDelegate {
public:
    virtual ~URLConnectionDelegate() = default;

    // Whether the owner answers challenges for this space; otherwise the connection answers by itself.
    virtual bool canAuthenticateAgainstProtectionSpace(URLConnection&, const URLProtectionSpace&) { return false; }
    virtual void didReceiveAuthenticationChallenge(
        URLConnection&, const std::shared_ptr<URLAuthenticationChallenge>& challenge)
    {
        challenge->continueWithoutCredential();
    }
    // Whether the shared credential store may supply and keep credentials.
    virtual bool shouldUseCredentialStorage(URLConnection&) { return true; }
    // A fresh body stream for sending the body again (after a redirect or a challenge); null when there is none.
    virtual std::shared_ptr<InputStream> needNewBodyStream(URLConnection&, const URLRequest&) { return nullptr; }
    // Before following a redirect: the request to send instead, or nothing to take the redirect reply as the
    // answer.
    virtual std::optional<URLRequest> willSendRequest(
        URLConnection&, URLRequest request, const std::shared_ptr<const HTTPResponse>& /*redirectResponse*/)
    {
        return request;
    }
    virtual void didSendBodyData(
        URLConnection&, int64_t /*bytesWritten*/, int64_t /*totalBytesWritten*/, int64_t /*totalBytesExpected*/)
    {
    }
    virtual void didReceiveResponse(URLConnection&, const std::shared_ptr<const HTTPResponse>&) { }
    virtual void didReceiveData(URLConnection&, const uint8_t* /*bytes*/, size_t /*length*/) { }
    virtual void didFinishLoading(URLConnection&) { }
    virtual void didFailWithError(URLConnection&, const base::Error&) { }
};

} // namespace net
