#include "feedback/FeedbackBubbleView.h"

#include "base/DateFormatter.h"
#include "ui/Button.h"
#include "ui/Label.h"

#include <algorithm>
#include <cmath>

namespace feedback {

namespace {

    constexpr double timeHeight = 18;
    constexpr double padding = 10;
    constexpr double sideMargin = 12;
    constexpr double markSize = 24;
    constexpr double maxBubbleShare = 0.7;

    std::string timeText(base::Date time)
    {
        base::DateFormatter formatter;
        formatter.setDateFormat("MM/dd HH:mm");
        return formatter.stringFromDate(time);
    }

} // namespace

FeedbackBubbleView::FeedbackBubbleView(const gfx::Rect& frame, int64_t id)
    : ui::View(frame)
    , m_id(id)
{
}

std::shared_ptr<FeedbackBubbleView> FeedbackBubbleView::make(
    const FeedbackMessage& message, double width, Resend resend)
{
    auto text = std::make_shared<ui::Label>();
    text->setFont(gfx::Font::system(15));
    text->setTextColor(gfx::Color::white());
    text->setNumberOfLines(0);
    text->setText(message.text);
    double maxTextWidth = width * maxBubbleShare - 2 * padding;
    gfx::Size textSize = text->sizeThatFits({ maxTextWidth, 10000 });
    textSize = { std::min(maxTextWidth, std::ceil(textSize.width)), std::ceil(textSize.height) };
    gfx::Size bubbleSize { textSize.width + 2 * padding, textSize.height + 2 * padding };

    auto view = std::make_shared<FeedbackBubbleView>(
        gfx::Rect { 0, 0, width, timeHeight + bubbleSize.height + padding }, message.id);
    auto time = std::make_shared<ui::Label>(gfx::Rect { 0, 0, width, timeHeight });
    time->setFont(gfx::Font::system(11));
    time->setTextColor(gfx::Color::gray());
    time->setTextAlignment(gfx::TextAlignment::Center);
    time->setText(timeText(message.time));
    view->addSubview(time);

    double bubbleX = width - sideMargin - bubbleSize.width;
    view->m_bubble = std::make_shared<ui::View>(gfx::Rect { bubbleX, timeHeight, bubbleSize.width, bubbleSize.height });
    view->m_bubble->setBackgroundColor(bubbleColour);
    view->m_bubble->layer()->setCornerRadius(10);
    text->setFrame({ padding, padding, textSize.width, textSize.height });
    view->m_bubble->addSubview(text);
    view->addSubview(view->m_bubble);

    if (!message.sent) {
        view->m_resendButton = std::make_shared<ui::Button>(
            gfx::Rect { bubbleX - markSize - 6, timeHeight + (bubbleSize.height - markSize) / 2, markSize, markSize });
        view->m_resendButton->setTitle("!", ui::ControlState::Normal);
        view->m_resendButton->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
        view->m_resendButton->setBackgroundColor(gfx::Color::rgb(0.86, 0.2, 0.18));
        view->m_resendButton->layer()->setCornerRadius(markSize / 2);
        int64_t id = message.id;
        view->m_resendButton->addAction(
            [resend = std::move(resend), id](ui::Control&) {
                if (resend)
                    resend(id);
            },
            ui::ControlEvent::TouchUpInside);
        view->addSubview(view->m_resendButton);
    }
    return view;
}

} // namespace feedback
