#include "feedback/FeedbackClient.h"

#include "base/MainThread.h"

namespace feedback {

FeedbackClient& FeedbackClient::shared()
{
    static FeedbackClient client;
    return client;
}

void FeedbackClient::showFeedback(const std::shared_ptr<ui::ViewController>&, std::string appKey)
{
    BASE_ASSERT_MAIN_THREAD();
    shared().m_appKey = std::move(appKey);
}

} // namespace feedback
