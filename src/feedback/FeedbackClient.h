// feedback::FeedbackClient: the feedback conversation with the application's makers. showFeedback keeps the
// application's key on the shared client and opens the conversation from the given screen; the
// conversation screen itself is not part of the client yet, so for now only the key is kept. Main thread.
//
//   feedback::FeedbackClient::showFeedback(settingsCentre, core::Helper::AnalyticsAppKey);
#pragma once

#include <memory>
#include <string>

namespace ui {
class ViewController;
}

namespace feedback {

class FeedbackClient {
public:
    static FeedbackClient& shared();

    static void showFeedback(const std::shared_ptr<ui::ViewController>& screen, std::string appKey);

    const std::string& appKey() const { return m_appKey; }

private:
    FeedbackClient() = default;

    std::string m_appKey;
};

} // namespace feedback
