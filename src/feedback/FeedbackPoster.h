// feedback::FeedbackPoster: sends one message of the feedback conversation to the feedback root as a JSON
// object {"AppKey", "Id", "Text", "Time"} (the time in seconds since 1970) by POST, with the session's
// cookie, through a client of its own. The outcome is a status of 200-299 or not; it reaches the callback on
// the main thread. Main thread.
//
//   feedback::FeedbackPoster::post({ root, appKey, cookie }, message, [](bool delivered) { ... });
#pragma once

#include "feedback/FeedbackThread.h"

#include <cstddef>
#include <functional>
#include <string>

namespace feedback {

// Where and as whom the conversation is posted.
struct FeedbackService {
    // The absolute URL the messages are posted to.
    std::string root;
    std::string appKey;
    // The value of the "Cookie" header; empty sends none.
    std::string cookie;
    // Whether the sign-in whose cookie that is, of the conversation's account, is still the open one: a
    // message goes only then. Empty: always.
    std::function<bool()> isSignedIn;
};

class FeedbackPoster {
public:
    using Done = std::function<void(bool delivered)>;

    static void post(const FeedbackService& service, const FeedbackMessage& message, Done done);
    // How many posts have not yet had their callback run. Any thread.
    static size_t postsInFlight();
};

} // namespace feedback
