#include "chat/MessageFrame.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/time/DateFormatter.h"
#include "core/helpers/Helper.h"
#include "core/service/ServiceProtocol.h"
#include "gfx/text/Font.h"
#include "gfx/text/TextMeasuring.h"
#include "ui/view/Screen.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chat {

namespace {

    constexpr double secondsPerDay = 86400;

    bool isVoiceMarked(const core::UserMessageQuery& message)
    {
        return message.desc == core::ServiceProtocol::VoiceMarker;
    }

} // namespace

bool isFromServer(const core::UserMessageQuery& message)
{
    return message.desc && core::Helper::isNOTStringNullOrWhitespace(base::Value(*message.desc));
}

MessageKind kindOf(const core::UserMessageQuery& message)
{
    switch (message.msgType.value_or(0)) {
    case core::UserMessageQuery::VoiceType:
        return MessageKind::OwnVoice;
    case core::UserMessageQuery::ImageType:
        return MessageKind::Image;
    case 1:
    case 2:
    case 3:
        return isVoiceMarked(message) ? MessageKind::WatchVoice : MessageKind::Text;
    default:
        return MessageKind::Nothing;
    }
}

std::string clockText(const std::optional<base::Date>& time)
{
    return time ? base::DateFormatter("HH:mm").stringFromDate(*time) : std::string();
}

std::string messageTimeText(const std::optional<base::Date>& time, base::Date now)
{
    if (!time)
        return {};
    std::string hhmm = clockText(time);
    auto elapsed = static_cast<long long>(now.timeIntervalSinceDate(*time));
    long long days = elapsed / static_cast<long long>(secondsPerDay);
    if (days == 0)
        return hhmm;
    if (days == 1)
        return base::LocalizedFormat::format(base::localized("message_time"), { hhmm });
    return base::DateFormatter(base::localized("message_date")).stringFromDate(*time) + " " + hhmm;
}

bool showsTimeAfter(const core::UserMessageQuery& message, const core::UserMessageQuery* before)
{
    return !before || !message.createTime || clockText(message.createTime) != clockText(before->createTime);
}

std::vector<std::shared_ptr<MessageFrame>> makeMessageFrames(
    const std::vector<std::shared_ptr<core::UserMessageQuery>>& messages, const core::UserMessageQuery* before)
{
    std::vector<std::shared_ptr<MessageFrame>> frames;
    frames.reserve(messages.size());
    for (const auto& message : messages) {
        auto frame = std::make_shared<MessageFrame>();
        frame->setShowTime(showsTimeAfter(*message, before));
        frame->setMessage(message);
        frames.push_back(std::move(frame));
        before = message.get();
    }
    return frames;
}

void MessageFrame::setMessage(std::shared_ptr<core::UserMessageQuery> message)
{
    BASE_ASSERT_MAIN_THREAD();
    m_message = std::move(message);
    double width = ui::Screen::main().bounds().width();
    bool fromServer = isFromServer(*m_message);

    m_timeF = {};
    if (m_showTime) {
        gfx::Size text = gfx::sizeWithFont(
            messageTimeText(m_message->createTime, base::Date::now()), gfx::Font::system(timeFontSize));
        m_timeF = { (width - text.width) / 2, margin, text.width + 15, text.height + 10 };
    }

    double iconX = fromServer ? margin : width - margin - iconSize;
    m_iconF = { iconX, m_timeF.maxY() + margin, iconSize, iconSize };

    gfx::Size content = contentSize();
    double bubbleWidth = content.width + 25 + 15;
    double bubbleX = fromServer ? m_iconF.maxX() + margin : iconX - margin - bubbleWidth;
    m_contentF = { bubbleX, m_iconF.minY(), bubbleWidth, content.height };

    m_cellHeight = std::max(m_contentF.maxY(), m_iconF.maxY()) + margin;
}

gfx::Size MessageFrame::contentSize() const
{
    switch (kindOf(*m_message)) {
    case MessageKind::OwnVoice:
    case MessageKind::WatchVoice:
        return { 40, 45 };
    case MessageKind::Text: {
        gfx::Size text = gfx::sizeWithFont(m_message->context.value_or(""), gfx::Font::system(textFontSize),
            { textWidth, std::numeric_limits<double>::max() }, gfx::LineBreakMode::WordWrap);
        return { text.width, text.height + 10 + 15 };
    }
    case MessageKind::Image:
    case MessageKind::Nothing:
        break;
    }
    return { 40, 65 };
}

} // namespace chat
