// feedback::FeedbackBubbleView: one message of the feedback conversation, drawn in one pass: the text in a
// green rounded bubble at the right and, for a message the service does not have yet, a red "!" at the
// bubble's left; a tap on that mark asks for the message to be sent again. Laid out at creation against the
// right edge of a row of the given width. Main thread; made with make().
//
//   auto bubble = feedback::FeedbackBubbleView::make(message, 320, [weak](int64_t id) { ... resend(id) ... });
#pragma once

#include "feedback/FeedbackThread.h"
#include "gfx/text/AttributedString.h"
#include "ui/view/View.h"

#include <functional>
#include <memory>

namespace ui {
class Button;
}

namespace feedback {

class FeedbackBubbleView : public ui::View {
public:
    static constexpr gfx::Color bubbleColour { 0.52, 0.8, 0.05, 1.0 };

    using Resend = std::function<void(int64_t id)>;

    static std::shared_ptr<FeedbackBubbleView> make(const FeedbackMessage& message, double width, Resend resend);
    FeedbackBubbleView(const gfx::Rect& frame, int64_t id, gfx::AttributedString text, const gfx::Rect& bubble);

    int64_t messageID() const { return m_id; }
    const std::string& text() const { return m_text.string(); }
    // In the view's bounds.
    const gfx::Rect& bubbleRect() const { return m_bubble; }
    // nullptr for a sent message.
    const std::shared_ptr<ui::Button>& resendButton() const { return m_resendButton; }

    void drawRect(const gfx::Rect& rect) override;

private:
    void addResendButton(Resend resend);

    int64_t m_id;
    gfx::AttributedString m_text;
    gfx::Rect m_bubble;
    std::shared_ptr<ui::Button> m_resendButton;
};

} // namespace feedback
