#include "core/service/StoreLookup.h"

#include "base/values/Array.h"
#include "base/system/Log.h"
#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "core/service/ServiceClient.h"
#include "core/service/StoreLookupRoot.h"
#include "json/JSONDecoder.h"

namespace core {

namespace {

    struct PendingLookup {
        StoreLookup::Completion completion;
        std::shared_ptr<networking::HTTPRequestOperation> operation;
        bool answered { false };

        void answer(bool isDebug)
        {
            if (answered)
                return;
            answered = true;
            base::RunLoop::main().cancelPerforms(this);
            if (completion)
                completion(isDebug);
            completion = nullptr;
            operation = nullptr;
        }
    };

    void answerFromReply(PendingLookup& lookup, std::optional<std::string_view> reply)
    {
        auto version = StoreLookup::publishedVersion(reply.value_or(""));
        base::trace("store", "published version: " + version.value_or("(none)"));
        lookup.answer(version == DebugStoreVersion);
    }

} // namespace

void StoreLookup::start(Completion completion)
{
    BASE_ASSERT_MAIN_THREAD();
    auto lookup = std::make_shared<PendingLookup>();
    lookup->completion = std::move(completion);
    auto client = ServiceClient::sharedClient();
    base::Error error;
    auto request = client->requestWithMethod("GET", storeLookupURL(), nullptr, &error);
    request.setValue(std::nullopt, "Cookie");
    request.setTimeoutInterval(timeout);
    lookup->operation = client->HTTPRequestOperationWithRequest(
        std::move(request),
        [lookup](const auto& operation, const networking::ResponseObject&) {
            answerFromReply(*lookup, operation->responseString());
        },
        [lookup](const auto&, const base::Error& failure) {
            base::log("store lookup failed: " + failure.description());
            lookup->answer(false);
        });
    base::RunLoop::main().performAfter(
        timeout,
        [lookup] {
            base::log("store lookup: no reply in time");
            if (lookup->operation)
                lookup->operation->cancel();
            lookup->answer(false);
        },
        lookup.get());
    client->enqueueHTTPRequestOperation(lookup->operation);
}

std::optional<std::string> StoreLookup::publishedVersion(std::string_view replyText)
{
    BASE_ASSERT_MAIN_THREAD();
    auto record = json::objectFromJSONString(replyText);
    const auto& fields = record ? record->dictionary() : nullptr;
    const base::Value* results = fields ? fields->objectForKey("results") : nullptr;
    if (!results || !results->array())
        return std::nullopt;
    std::optional<std::string> version;
    for (const auto& element : *results->array()) {
        const auto& entry = element.dictionary();
        const base::Value* text = entry ? entry->objectForKey("version") : nullptr;
        if (text && text->string())
            version = *text->string();
    }
    return version;
}

} // namespace core
