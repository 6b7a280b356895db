#include "feedback/FeedbackBubbleView.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Path.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/controls/Button.h"

#include <algorithm>
#include <cmath>

namespace feedback {

namespace {

    constexpr double topMargin = 8;
    constexpr double padding = 10;
    constexpr double sideMargin = 12;
    constexpr double markSize = 24;
    constexpr double markGap = 6;
    constexpr double maxBubbleShare = 0.7;
    constexpr double cornerRadius = 10;

} // namespace

FeedbackBubbleView::FeedbackBubbleView(
    const gfx::Rect& frame, int64_t id, gfx::AttributedString text, const gfx::Rect& bubble)
    : ui::View(frame)
    , m_id(id)
    , m_text(std::move(text))
    , m_bubble(bubble)
{
    BASE_ASSERT_MAIN_THREAD();
    setBackgroundColor(gfx::Color::clear());
    setOpaque(false);
}

std::shared_ptr<FeedbackBubbleView> FeedbackBubbleView::make(
    const FeedbackMessage& message, double width, Resend resend)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::TextAttributes attributes;
    attributes.font = gfx::Font::system(15);
    attributes.color = gfx::Color::white();
    gfx::AttributedString text(message.text, attributes);
    double maxTextWidth = width * maxBubbleShare - 2 * padding;
    gfx::Rect measured
        = gfx::boundingRectWithSize(text, { maxTextWidth, 10000 }, gfx::DrawingOptions::UsesLineFragmentOrigin);
    gfx::Size textSize { std::min(maxTextWidth, std::ceil(measured.width())), std::ceil(measured.height()) };
    gfx::Size bubbleSize { textSize.width + 2 * padding, textSize.height + 2 * padding };
    // The view covers the bubble and, for an unsent message, its mark: no more than is drawn.
    double markSpace = message.sent ? 0 : markSize + markGap;
    gfx::Rect frame { width - sideMargin - bubbleSize.width - markSpace, 0, markSpace + bubbleSize.width,
        topMargin + bubbleSize.height };

    auto view = std::make_shared<FeedbackBubbleView>(
        frame, message.id, std::move(text), gfx::Rect { { markSpace, topMargin }, bubbleSize });
    if (!message.sent)
        view->addResendButton(std::move(resend));
    return view;
}

void FeedbackBubbleView::addResendButton(Resend resend)
{
    m_resendButton = std::make_shared<ui::Button>(gfx::Rect { m_bubble.minX() - markSize - markGap,
        m_bubble.minY() + (m_bubble.height() - markSize) / 2, markSize, markSize });
    m_resendButton->setTitle("!", ui::ControlState::Normal);
    m_resendButton->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    m_resendButton->setBackgroundColor(gfx::Color::rgb(0.86, 0.2, 0.18));
    m_resendButton->layer()->setCornerRadius(markSize / 2);
    m_resendButton->addAction(
        [resend = std::move(resend), id = m_id](ui::Control&) {
            if (resend)
                resend(id);
        },
        ui::ControlEvent::TouchUpInside);
    addSubview(m_resendButton);
}

void FeedbackBubbleView::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    auto context = gfx::CurrentContext::get();
    context->setFillColor(bubbleColour);
    context->addPath(gfx::Path::roundedRect(m_bubble, cornerRadius));
    context->fillPath();
    context->drawText(m_text, m_bubble.insetBy(padding, padding));
}

} // namespace feedback
