// feedback::FeedbackPoster: sends one message of the feedback conversation to the feedback root as a JSON
// object {"AppKey", "Id", "Text", "Time"} (the time in seconds since 1970) by POST, through a client of its
// own. The outcome is a status of 200-299 or not; it reaches the callback on the main thread. Main thread.
//
//   feedback::FeedbackPoster::post(root, appKey, message, [](bool delivered) { ... });
#pragma once

#include "feedback/FeedbackThread.h"

#include <functional>
#include <string>

namespace feedback {

class FeedbackPoster {
public:
    using Done = std::function<void(bool delivered)>;

    static void post(const std::string& root, const std::string& appKey, const FeedbackMessage& message, Done done);
};

} // namespace feedback
