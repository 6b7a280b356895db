#include "core/messages/PackedMessages.h"

#include <cstring>

namespace core {

namespace {

    // The record's texts, in the order they are packed.
    constexpr std::optional<std::string> UserMessageQuery::*Texts[]
        = { &UserMessageQuery::id_, &UserMessageQuery::context, &UserMessageQuery::desc, &UserMessageQuery::from,
              &UserMessageQuery::to, &UserMessageQuery::fromIconName, &UserMessageQuery::toIconName,
              &UserMessageQuery::url, &UserMessageQuery::userName };

    // A length as seven bits a byte, the last byte's high bit clear.
    void packLength(std::string& bytes, size_t length)
    {
        for (; length >= 0x80; length >>= 7)
            bytes += static_cast<char>(0x80 | (length & 0x7f));
        bytes += static_cast<char>(length);
    }

    size_t unpackLength(const char*& at)
    {
        size_t length = 0;
        for (unsigned shift = 0;; shift += 7) {
            auto byte = static_cast<unsigned char>(*at++);
            length |= size_t(byte & 0x7f) << shift;
            if (byte < 0x80)
                return length;
        }
    }

    template <typename Number> void packNumber(std::string& bytes, const std::optional<Number>& number)
    {
        bytes += number ? '\1' : '\0';
        if (number)
            bytes.append(reinterpret_cast<const char*>(&*number), sizeof(Number));
    }

    template <typename Number> std::optional<Number> unpackNumber(const char*& at)
    {
        if (*at++ == '\0')
            return std::nullopt;
        Number number;
        std::memcpy(&number, at, sizeof number);
        at += sizeof number;
        return number;
    }

} // namespace

void PackedMessages::push(const PendingMessage& pending)
{
    const UserMessageQuery& message = *pending.message;
    m_bytes += pending.place == PendingMessage::Place::Chat ? 'c' : 'm';
    // A text is packed as its length plus one, nothing as 0.
    for (auto text : Texts) {
        const auto& value = message.*text;
        packLength(m_bytes, value ? value->size() + 1 : 0);
        if (value)
            m_bytes += *value;
    }
    packNumber(m_bytes, message.msgType);
    packNumber(m_bytes, message.createTime ? std::optional(message.createTime->timeIntervalSince1970()) : std::nullopt);
    ++m_count;
}

void PackedMessages::forEach(const std::function<void(const PendingMessage&)>& each) const
{
    const char* at = m_bytes.data();
    for (size_t i = 0; i < m_count; ++i) {
        PendingMessage pending { std::make_shared<UserMessageQuery>(),
            *at++ == 'c' ? PendingMessage::Place::Chat : PendingMessage::Place::MessageCentre };
        UserMessageQuery& message = *pending.message;
        for (auto text : Texts) {
            if (size_t length = unpackLength(at)) {
                (message.*text).emplace(at, length - 1);
                at += length - 1;
            }
        }
        message.msgType = unpackNumber<int64_t>(at);
        if (auto seconds = unpackNumber<double>(at))
            message.createTime = base::Date::fromTimeIntervalSince1970(*seconds);
        each(pending);
    }
}

void PackedMessages::clear()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_count = 0;
}

} // namespace core
