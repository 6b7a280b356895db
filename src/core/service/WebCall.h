// core::WebCall: the one way the application calls a web method of the tracking service. It sets the shared
// client's "Cookie" header to the setting "kCookie", selects JSON bodies, and posts the parameters (null
// values written as null; none for an empty body) to the server root of Singleton followed by
// "/Server/Mobileservice.asmx/" and the method. The reply text (responseString) goes to the success block,
// to be read by a Tool reader; a status outside 200-299 or a transport failure goes to the failure block.
// A call that carried a session cookie and is refused with 401 (the service no longer knows the session) waits
// while SessionRenewal signs the remembered account in again, and is then sent once more with the new cookie,
// all within the sign-in (SignInSession) the call went under, never in a later one's session; when no
// session can be had, or the call's sign-in has ended, its failure block gets the refusal. Exactly one of the
// two blocks runs, on the main thread; what a screen shows meanwhile and on failure is its own affair. Main
// thread.
//
//   core::WebCall::post("LumetSetListenNo", parameters,
//       [weak = weak_from_this()](const std::string& reply) {
//           if (auto self = weak.lock()) self->showResult(core::WebCall::isCommandAccepted(reply)); },
//       [weak = weak_from_this()](const base::Error&) { if (auto self = weak.lock()) self->showFailure(); });
#pragma once

#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "net/http/HTTPResponse.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace networking {
class HTTPRequestOperation;
}

namespace core {

class WebCall {
public:
    using Success = std::function<void(const std::string& reply)>;
    using Failure = std::function<void(const base::Error& error)>;

    // What a call refused for want of a session does: have the session renewed and go again (every call but
    // the sign-in's own), or fail.
    enum class OnExpiredSession { Renew, Fail };

    // The absolute URL of a web method on the chosen server.
    static std::string urlOfMethod(std::string_view method);

    static void post(std::string_view method, const base::DictionaryRef& parameters, Success success, Failure failure);

    // The same, for a caller that also reads the response: its header fields (the sign-in takes the session
    // cookie from "Set-Cookie") and the URL that answered, after any redirect.
    using SuccessWithResponse = std::function<void(const std::string& reply, const net::HTTPResponse& response)>;
    static void postReadingResponse(std::string_view method, const base::DictionaryRef& parameters,
        SuccessWithResponse success, Failure failure, OnExpiredSession onExpiredSession = OnExpiredSession::Renew);

    // The convention for any absolute URL (a file endpoint, say): the session cookie, JSON bodies, the same
    // failure rule; the success block gets the finished request, to read the body in the form it needs.
    // `prepare` (may be empty) is given each request operation of the call before it is sent: a call sent again
    // after the session's renewal goes in an operation of its own.
    using RequestSuccess = std::function<void(const networking::HTTPRequestOperation& request)>;
    using Prepare = std::function<void(networking::HTTPRequestOperation& request)>;
    static void postToURL(const std::string& url, const base::DictionaryRef& parameters, RequestSuccess success,
        Failure failure, OnExpiredSession onExpiredSession = OnExpiredSession::Renew, Prepare prepare = {});

    // Whether a command's reply says the server took the command on: its "d" is exactly "命令提交成功".
    static bool isCommandAccepted(std::string_view reply);

    // Whether a failure is the service's (it answered, but not usably: a status outside 200-299, a reply that
    // cannot be read) rather than the network's (no connection, a time-out, a connection lost).
    static bool isServiceFault(const base::Error& error);
};

} // namespace core
