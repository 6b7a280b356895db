#include "core/service/WebCall.h"

#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceClient.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/SettingsKeys.h"
#include "core/state/Singleton.h"
#include "networking/http/Reply.h"

namespace core {

std::string WebCall::urlOfMethod(std::string_view method)
{
    return Singleton::shared().server() + ServiceProtocol::WebMethodPath + std::string(method);
}

void WebCall::post(std::string_view method, const base::DictionaryRef& parameters, Success success, Failure failure)
{
    SuccessWithHeaders withoutHeaders;
    if (success)
        withoutHeaders = [success = std::move(success)](
                             const std::string& reply, const net::HTTPHeaderFields&) { success(reply); };
    postReadingHeaders(method, parameters, std::move(withoutHeaders), std::move(failure));
}

void WebCall::postReadingHeaders(
    std::string_view method, const base::DictionaryRef& parameters, SuccessWithHeaders success, Failure failure)
{
    RequestSuccess readReply;
    if (success)
        readReply = [success = std::move(success)](const networking::HTTPRequestOperation& request) {
            // The reply the network thread settled: read without going back into the operation.
            auto reply = request.reply();
            success(reply->text().value_or(""), reply->headers());
        };
    postToURL(urlOfMethod(method), parameters, std::move(readReply), std::move(failure));
}

void WebCall::postToURL(
    const std::string& url, const base::DictionaryRef& parameters, RequestSuccess success, Failure failure)
{
    BASE_ASSERT_MAIN_THREAD();
    auto client = ServiceClient::sharedClient();
    // Set only when changed: a change drops the header fields the client keeps prepared for its calls.
    auto cookie = base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie);
    if (client->defaultValueForHeader("Cookie") != cookie)
        client->setDefaultHeader("Cookie", std::move(cookie));
    if (client->parameterEncoding() != networking::HTTPClient::JSONParameterEncoding)
        client->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
    client->postPath(
        url, parameters,
        [success = std::move(success)](const auto& operation, const networking::ResponseObject&) {
            if (success)
                success(*operation);
        },
        [failure = std::move(failure)](const auto&, const base::Error& error) {
            if (failure)
                failure(error);
        });
}

bool WebCall::isCommandAccepted(std::string_view reply)
{
    return ServiceProtocol::isCommandAccepted(Tool::getDeciveStyleFrom(reply));
}

} // namespace core
