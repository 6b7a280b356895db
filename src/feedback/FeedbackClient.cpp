#include "feedback/FeedbackClient.h"

#include "base/loop/MainThread.h"
#include "feedback/FeedbackVC.h"
#include "ui/controllers/NavigationController.h"

namespace feedback {

FeedbackClient& FeedbackClient::shared()
{
    static FeedbackClient client;
    return client;
}

void FeedbackClient::setService(
    std::string root, std::string cookie, std::string account, std::function<bool()> isSignedIn)
{
    m_root = std::move(root);
    m_cookie = std::move(cookie);
    m_account = std::move(account);
    m_isSignedIn = std::move(isSignedIn);
}

void FeedbackClient::showFeedback(const std::shared_ptr<ui::ViewController>& screen, std::string appKey)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& client = shared();
    client.m_appKey = std::move(appKey);
    if (!screen)
        return;
    auto conversation = FeedbackVC::make(FeedbackThread::pathForAccount(client.m_account),
        { client.m_root, client.m_appKey, client.m_cookie, client.m_isSignedIn });
    screen->presentViewController(FeedbackVC::inNavigation(conversation), true);
}

} // namespace feedback
