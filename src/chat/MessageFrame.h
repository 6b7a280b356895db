// chat::MessageFrame: where the parts of one chat bubble go, computed from a message: the optional time line
// centred at the top, the sender's 40-point icon (left for a message from the server, right for the user's
// own) and the bubble beside it, sized for its content (a text wrapped at 180 points, a voice symbol, or an
// image). Set showTime before the message, because setting the message computes the frames. The same rules
// give each message's kind and its time text, which the cell shows. Main thread.
//
//   chat::MessageFrame frame;
//   frame.setShowTime(true);
//   frame.setMessage(message); // frame.cellHeight() is the row's height
#pragma once

#include "base/time/Date.h"
#include "core/messages/UserMessageQuery.h"
#include "gfx/geometry/Rect.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace chat {

// What a bubble shows, by the message's type and description.
enum class MessageKind { OwnVoice, Image, WatchVoice, Text, Nothing };

MessageKind kindOf(const core::UserMessageQuery& message);
// A message from the server has a description that is not blank; the phone's own messages have none.
bool isFromServer(const core::UserMessageQuery& message);
// The time as "HH:mm" (device time zone); "" without a time.
std::string clockText(const std::optional<base::Date>& time);
// The time line's text: "HH:mm" within 24 hours of `now`, the "message_time" form for the day before, else
// the "message_date" form; days are whole elapsed 24-hour periods. "" without a time.
std::string messageTimeText(const std::optional<base::Date>& time, base::Date now);

class MessageFrame;

// Whether a message shows its time line after `before` (the message shown above it, if any): when its
// "HH:mm" differs from that one's, always without one before it, and for a message without a time.
bool showsTimeAfter(const core::UserMessageQuery& message, const core::UserMessageQuery* before);

// One frame a message, oldest first as given, each with its time line by showsTimeAfter; `before` is the
// message above the first, when there is one (the newest of an older page not shown yet).
std::vector<std::shared_ptr<MessageFrame>> makeMessageFrames(
    const std::vector<std::shared_ptr<core::UserMessageQuery>>& messages,
    const core::UserMessageQuery* before = nullptr);

class MessageFrame {
public:
    static constexpr double margin = 10;
    static constexpr double iconSize = 40;
    static constexpr double textWidth = 180;
    static constexpr double timeFontSize = 12;
    static constexpr double textFontSize = 16;

    bool showTime() const { return m_showTime; }
    void setShowTime(bool show) { m_showTime = show; }
    const std::shared_ptr<core::UserMessageQuery>& message() const { return m_message; }
    void setMessage(std::shared_ptr<core::UserMessageQuery> message);

    double cellHeight() const { return m_cellHeight; }
    const gfx::Rect& iconF() const { return m_iconF; }
    const gfx::Rect& timeF() const { return m_timeF; }
    const gfx::Rect& contentF() const { return m_contentF; }

private:
    gfx::Size contentSize() const;

    bool m_showTime { false };
    double m_cellHeight { 0 };
    std::shared_ptr<core::UserMessageQuery> m_message;
    gfx::Rect m_iconF;
    gfx::Rect m_timeF;
    gfx::Rect m_contentF;
};

} // namespace chat
