#include "core/WebCall.h"

#include "base/MainThread.h"
#include "base/UserDefaults.h"
#include "core/ServiceClient.h"
#include "core/ServiceProtocol.h"
#include "core/SettingsKeys.h"
#include "core/Singleton.h"
#include "core/Tool.h"

namespace core {

std::string WebCall::urlOfMethod(std::string_view method)
{
    return Singleton::shared().server() + ServiceProtocol::WebMethodPath + std::string(method);
}

void WebCall::post(std::string_view method, const base::DictionaryRef& parameters, Success success, Failure failure)
{
    BASE_ASSERT_MAIN_THREAD();
    auto client = ServiceClient::sharedClient();
    client->setDefaultHeader("Cookie", base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie));
    client->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
    client->postPath(
        urlOfMethod(method), parameters,
        [success = std::move(success)](const auto& operation, const networking::ResponseObject&) {
            if (success)
                success(operation->responseString().value_or(""));
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
