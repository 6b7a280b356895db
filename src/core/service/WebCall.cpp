#include "core/service/WebCall.h"

#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceClient.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/SessionRenewal.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "net/http/URLErrors.h"
#include "networking/http/NetworkingErrors.h"
#include "networking/http/Reply.h"

namespace core {

std::string WebCall::urlOfMethod(std::string_view method)
{
    return Singleton::shared().server() + ServiceProtocol::WebMethodPath + std::string(method);
}

void WebCall::post(std::string_view method, const base::DictionaryRef& parameters, Success success, Failure failure)
{
    SuccessWithResponse textOnly;
    if (success)
        textOnly
            = [success = std::move(success)](const std::string& reply, const net::HTTPResponse&) { success(reply); };
    postReadingResponse(method, parameters, std::move(textOnly), std::move(failure));
}

void WebCall::postReadingResponse(std::string_view method, const base::DictionaryRef& parameters,
    SuccessWithResponse success, Failure failure, OnExpiredSession onExpiredSession)
{
    RequestSuccess readReply;
    if (success)
        readReply = [success = std::move(success)](const networking::HTTPRequestOperation& request) {
            // The reply the network thread settled: read without going back into the operation. A success
            // always has its response: the status it carries is what made it one.
            auto reply = request.reply();
            success(reply->text().value_or(""), *reply->response);
        };
    postToURL(urlOfMethod(method), parameters, std::move(readReply), std::move(failure), onExpiredSession);
}

void WebCall::postToURL(const std::string& url, const base::DictionaryRef& parameters, RequestSuccess success,
    Failure failure, OnExpiredSession onExpiredSession, Prepare prepare)
{
    BASE_ASSERT_MAIN_THREAD();
    auto client = ServiceClient::sharedClient();
    // Set only when changed: a change drops the header fields the client keeps prepared for its calls.
    auto cookie = base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie);
    std::string sentCookie = cookie.value_or("");
    if (client->defaultValueForHeader("Cookie") != cookie)
        client->setDefaultHeader("Cookie", std::move(cookie));
    if (client->parameterEncoding() != networking::HTTPClient::JSONParameterEncoding)
        client->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
    // Both blocks stay at hand for a second sending after the session has been renewed, which happens only
    // within the sign-in the call goes under.
    auto blocks = std::make_shared<std::pair<RequestSuccess, Failure>>(std::move(success), std::move(failure));
    auto signIn = SignInSession::current();
    client->postPath(
        url, parameters,
        [blocks](const auto& operation, const networking::ResponseObject&) {
            if (blocks->first)
                blocks->first(*operation);
        },
        [blocks, url, parameters, onExpiredSession, prepare, sentCookie = std::move(sentCookie), signIn](
            const auto& operation, const base::Error& error) {
            if (onExpiredSession == OnExpiredSession::Renew
                && SessionRenewal::refusesSession(operation->response().get(), sentCookie)) {
                SessionRenewal::renew(sentCookie, signIn, [blocks, url, parameters, prepare, error](bool renewed) {
                    if (renewed)
                        postToURL(url, parameters, blocks->first, blocks->second, OnExpiredSession::Fail, prepare);
                    else if (blocks->second)
                        blocks->second(error);
                });
                return;
            }
            if (blocks->second)
                blocks->second(error);
        },
        prepare);
}

bool WebCall::isCommandAccepted(std::string_view reply)
{
    return ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(reply));
}

bool WebCall::isServiceFault(const base::Error& error)
{
    if (error.domain() == networking::NetworkingErrors::Domain)
        return error.code() == networking::NetworkingErrors::BadServerResponse
            || error.code() == networking::NetworkingErrors::CannotDecodeContentData;
    if (error.domain() != base::Error::URLDomain)
        return false;
    switch (error.code()) {
    case base::Error::URLBadServerResponse:
    case base::Error::URLCannotDecodeContentData:
    case base::Error::URLCannotParseResponse:
    case net::URLErrors::HTTPTooManyRedirects:
    case net::URLErrors::RedirectWouldResendBody:
        return true;
    default:
        return false;
    }
}

} // namespace core
