#include "feedback/FeedbackPoster.h"

#include "base/loop/MainThread.h"
#include "base/system/Log.h"
#include "base/values/Dictionary.h"
#include "networking/http/HTTPClient.h"

namespace feedback {

namespace {

    const std::shared_ptr<networking::HTTPClient>& client()
    {
        static auto shared = [] {
            auto made = networking::HTTPClient::clientWithBaseURL(*base::URL::parse("http://127.0.0.1/"));
            made->setParameterEncoding(networking::HTTPClient::JSONParameterEncoding);
            made->setDefaultHeader("Accept", "application/json");
            return made;
        }();
        return shared;
    }

} // namespace

size_t FeedbackPoster::postsInFlight() { return client()->callsInFlight(); }

void FeedbackPoster::post(const FeedbackService& service, const FeedbackMessage& message, Done done)
{
    BASE_ASSERT_MAIN_THREAD();
    auto body = base::Dictionary::make({ { "AppKey", service.appKey }, { "Id", message.id }, { "Text", message.text },
        { "Time", message.time.timeIntervalSince1970() } });
    std::optional<std::string> cookie;
    if (!service.cookie.empty())
        cookie = service.cookie;
    client()->setDefaultHeader("Cookie", cookie);
    client()->postPath(
        service.root, body,
        [done](const auto&, const networking::ResponseObject&) {
            if (done)
                done(true);
        },
        [done](const auto&, const base::Error& error) {
            base::log("feedback: a message could not be delivered: " + error.description());
            if (done)
                done(false);
        });
}

} // namespace feedback
