// feedback::FeedbackVC: the feedback conversation screen, presented modally in a navigation bar of its own:
// the user's messages to the application's makers, oldest first (FeedbackBubbleView), and at the bottom a
// field and "send". A message is kept in the thread file before it is posted to the feedback root
// (FeedbackPoster) and marked sent when the post succeeds; a failed one stays marked unsent and goes again
// when its mark is tapped. Nothing is posted once the sign-in that opened the screen has ended (the service's
// isSignedIn): a message written or tapped then stays unsent in its account's thread, for that account's next
// sign-in. "close" dismisses the screen. The bottom bar rises with the keyboard. Replies that come after the
// screen has gone still mark the thread file. Main thread; made with make().
//
//   auto screen = feedback::FeedbackVC::make(FeedbackThread::pathForAccount(account), { root, appKey, cookie });
//   presenter->presentViewController(feedback::FeedbackVC::inNavigation(screen), true);
#pragma once

#include "feedback/FeedbackPoster.h"
#include "feedback/FeedbackThread.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class NavigationController;
class ScrollView;
class TextField;
}

namespace feedback {

class FeedbackBubbleView;

class FeedbackVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static constexpr double inputBarHeight = 50;

    static std::shared_ptr<FeedbackVC> make(std::filesystem::path threadFile, FeedbackService service);
    // The screen at the root of a navigation controller whose bar has the application's green tint.
    static std::shared_ptr<ui::NavigationController> inNavigation(const std::shared_ptr<FeedbackVC>& screen);
    ~FeedbackVC() override;

    const FeedbackThread& thread() const { return *m_thread; }
    // Posts under way.
    int sending() const { return *m_sending; }

    // The send button's action: keeps the field's text as a new message and posts it.
    void sendTyped();
    // Posts a kept message again.
    void resend(int64_t id);
    void close();

    const std::shared_ptr<ui::TextField>& inputField();
    const std::shared_ptr<ui::Button>& sendButton();
    const std::vector<std::shared_ptr<FeedbackBubbleView>>& bubbles() const { return m_bubbles; }

    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

    FeedbackVC(std::filesystem::path threadFile, FeedbackService service);

private:
    void buildInputBar();
    void observeKeyboard();
    void moveInputBar(double keyboardTop);
    void reloadBubbles();
    void post(const FeedbackMessage& message);

    FeedbackService m_service;
    // Shared with the posts under way, which mark the thread when they end, even after the screen has gone.
    std::shared_ptr<FeedbackThread> m_thread;
    std::shared_ptr<int> m_sending;
    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::shared_ptr<ui::View> m_inputBar;
    std::shared_ptr<ui::TextField> m_inputField;
    std::shared_ptr<ui::Button> m_sendButton;
    std::vector<std::shared_ptr<FeedbackBubbleView>> m_bubbles;
};

} // namespace feedback
