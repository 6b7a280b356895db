// feedback::FeedbackClient: the feedback conversation with the application's makers. The application tells
// the shared client where and as whom the conversation is posted (setService: the feedback root, the
// session's cookie, the signed-in account and whether that sign-in is still open); showFeedback keeps the
// application's key and presents that account's conversation screen (FeedbackVC) from the given screen, in a
// navigation bar of its own. The conversation itself is kept on this machine, one for each account
// (FeedbackThread). Main thread.
//
//   feedback::FeedbackClient::shared().setService(root, cookie, account, [signIn] { return signIn.isOpen(); });
//   feedback::FeedbackClient::showFeedback(settingsCentre, core::Helper::AnalyticsAppKey);
#pragma once

#include <functional>
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
    const std::string& root() const { return m_root; }
    void setService(std::string root, std::string cookie, std::string account, std::function<bool()> isSignedIn);

private:
    FeedbackClient() = default;

    std::string m_appKey;
    std::string m_root;
    std::string m_cookie;
    std::string m_account;
    std::function<bool()> m_isSignedIn;
};

} // namespace feedback
