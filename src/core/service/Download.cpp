#include "core/service/Download.h"

#include "base/loop/MainThread.h"
#include "core/service/WebCall.h"
#include "networking/http/HTTPRequestOperation.h"

namespace core {

void Download::post(std::string absoluteUrl, Success success, Failure failure)
{
    BASE_ASSERT_MAIN_THREAD();
    WebCall::RequestSuccess readBytes;
    if (success)
        readBytes = [success = std::move(success)](const networking::HTTPRequestOperation& request) {
            auto data = request.reply()->body;
            success(data ? std::string(data->begin(), data->end()) : std::string());
        };
    WebCall::postToURL(absoluteUrl, nullptr, std::move(readBytes), std::move(failure));
}

} // namespace core
