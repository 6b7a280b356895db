// feedback::FeedbackBubbleView: one message of the feedback conversation: the text in a green bubble at the
// right, its time above it, and for a message the service does not have yet a red "!" at the bubble's left;
// a tap on that mark asks for the message to be sent again. Laid out for a given width at creation. Main
// thread; made with make().
//
//   auto bubble = feedback::FeedbackBubbleView::make(message, 320, [weak](int64_t id) { ... resend(id) ... });
#pragma once

#include "feedback/FeedbackThread.h"
#include "ui/View.h"

#include <functional>
#include <memory>

namespace ui {
class Button;
class Label;
}

namespace feedback {

class FeedbackBubbleView : public ui::View {
public:
    static constexpr gfx::Color bubbleColour { 0.52, 0.8, 0.05, 1.0 };

    using Resend = std::function<void(int64_t id)>;

    static std::shared_ptr<FeedbackBubbleView> make(const FeedbackMessage& message, double width, Resend resend);
    FeedbackBubbleView(const gfx::Rect& frame, int64_t id);

    int64_t messageID() const { return m_id; }
    const std::shared_ptr<ui::View>& bubble() const { return m_bubble; }
    // nullptr for a sent message.
    const std::shared_ptr<ui::Button>& resendButton() const { return m_resendButton; }

private:
    int64_t m_id;
    std::shared_ptr<ui::View> m_bubble;
    std::shared_ptr<ui::Button> m_resendButton;
};

} // namespace feedback
