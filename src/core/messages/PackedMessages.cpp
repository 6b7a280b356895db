#include "core/messages/PackedMessages.h"

#include <algorithm>
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
    std::string packed(1, pending.place == PendingMessage::Place::Chat ? 'c' : 'm');
    // A text is packed as its length plus one, nothing as 0.
    for (auto text : Texts) {
        const auto& value = message.*text;
        packLength(packed, value ? value->size() + 1 : 0);
        if (value)
            packed += *value;
    }
    packNumber(packed, message.msgType);
    packNumber(packed, message.createTime ? std::optional(message.createTime->timeIntervalSince1970()) : std::nullopt);
    if (m_blocks.empty() || m_blocks.back().size() + packed.size() > m_blocks.back().capacity()) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(std::max(BlockBytes, packed.size()));
    }
    m_blocks.back() += packed;
    ++m_count;
}

void PackedMessages::forEach(const std::function<void(const PendingMessage&)>& each) const
{
    auto block = m_blocks.begin();
    const char* at = nullptr;
    for (size_t i = 0; i < m_count; ++i) {
        if (!at || at == block->data() + block->size())
            at = (at ? ++block : block)->data();
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
    m_blocks = {};
    m_count = 0;
}

} // namespace core
