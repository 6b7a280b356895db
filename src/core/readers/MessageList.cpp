#include "core/readers/MessageList.h"
#include "core/readers/FileText.h"

#include "base/values/Array.h"
#include "core/service/ReplyFields.h"
#include "core/service/ServiceProtocol.h"
#include "json/JSONDecoder.h"

#include <algorithm>
#include <optional>

namespace core {

namespace {

    constexpr size_t npos = std::string_view::npos;
    constexpr json::ParseOptions Loose = json::JSONParseReplaceInvalidUnicode;
    // The reply of a poll that found nothing, without the white space it may hold between its tokens.
    constexpr std::string_view EmptyReply = R"({"d":[]})";

    // The fields a message is read from; a field of another key that does not read costs nothing.
    constexpr const char* MessageKeys[] = { ServiceProtocol::MessageIdKey, ServiceProtocol::MessageContextKey,
        ServiceProtocol::MessageDescKey, ServiceProtocol::MessageFromKey, ServiceProtocol::MessageToKey,
        ServiceProtocol::MessageFromIconNameKey, ServiceProtocol::MessageToIconNameKey,
        ServiceProtocol::MessageMsgTypeKey, ServiceProtocol::MessageUrlKey, ServiceProtocol::MessageCreateTimeKey };

    std::shared_ptr<UserMessageQuery> readMessage(const base::DictionaryRef& fields)
    {
        auto message = std::make_shared<UserMessageQuery>();
        message->id_ = ReplyFields::text(fields, ServiceProtocol::MessageIdKey);
        message->context = ReplyFields::text(fields, ServiceProtocol::MessageContextKey);
        message->desc = ReplyFields::text(fields, ServiceProtocol::MessageDescKey);
        message->from = ReplyFields::text(fields, ServiceProtocol::MessageFromKey);
        message->to = ReplyFields::text(fields, ServiceProtocol::MessageToKey);
        message->fromIconName = ReplyFields::text(fields, ServiceProtocol::MessageFromIconNameKey);
        message->toIconName = ReplyFields::text(fields, ServiceProtocol::MessageToIconNameKey);
        message->msgType = ReplyFields::integer(fields, ServiceProtocol::MessageMsgTypeKey);
        message->url = ReplyFields::text(fields, ServiceProtocol::MessageUrlKey);
        message->createTime = ReplyFields::date(fields, ServiceProtocol::MessageCreateTimeKey);
        return message;
    }

    bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    // The walks below take a text in memory (std::string_view) or a file's (FileText) alike.
    template <typename Text> size_t skipSpace(const Text& text, size_t at)
    {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        return at;
    }

    // One past the closing quote of the string whose opening quote is at `at`; npos when the text ends first.
    template <typename Text> size_t stringEnd(const Text& text, size_t at)
    {
        for (size_t i = text.find_first_of("\"\\", at + 1); i != npos; i = text.find_first_of("\"\\", i + 2)) {
            if (text[i] == '"')
                return i + 1;
        }
        return npos;
    }

    // One past the end of the value that begins at `at`, found by its brackets and strings alone (what lies
    // between is not checked); npos when the text ends first. A number or a word ends at the first byte that
    // cannot be part of it.
    template <typename Text> size_t valueEnd(const Text& text, size_t at)
    {
        if (at >= text.size())
            return npos;
        if (text[at] == '"')
            return stringEnd(text, at);
        if (text[at] != '{' && text[at] != '[')
            return text.find_first_of(",]}: \t\r\n", at);
        size_t depth = 0;
        for (size_t i = at; i < text.size(); ++i) {
            switch (text[i]) {
            case '"':
                i = stringEnd(text, i);
                if (i == npos)
                    return npos;
                --i;
                break;
            case '{':
            case '[':
                ++depth;
                break;
            case '}':
            case ']':
                if (--depth == 0)
                    return i + 1;
                break;
            default:
                break;
            }
        }
        return npos;
    }

    // Walks the members of the object whose opening brace is at `at`: `member(key, valueStart, valueEnd)` for
    // each (valueEnd npos for a value the text ends in), which answers whether to go on. One past the closing brace;
    // npos when the text ends first or the object does not read, `stoppedAt` then telling where.
    template <typename Text, typename Member>
    size_t walkObject(const Text& text, size_t at, size_t& stoppedAt, Member member)
    {
        size_t i = skipSpace(text, at + 1);
        if (i < text.size() && text[i] == '}')
            return i + 1;
        while (true) {
            stoppedAt = i;
            if (i >= text.size() || text[i] != '"')
                return npos;
            size_t keyEnd = stringEnd(text, i);
            size_t colon = keyEnd == npos ? npos : skipSpace(text, keyEnd);
            if (colon >= text.size() || text[colon] != ':')
                return npos;
            size_t value = skipSpace(text, colon + 1);
            if (value >= text.size())
                return npos; // the text ends before the value
            size_t end = valueEnd(text, value);
            if (!member(text.substr(i, keyEnd - i), value, end) || end == npos)
                return npos;
            i = skipSpace(text, end);
            stoppedAt = i;
            if (i < text.size() && text[i] == '}')
                return i + 1;
            if (i >= text.size() || text[i] != ',')
                return npos;
            i = skipSpace(text, i + 1);
        }
    }

    template <typename Text> class Reader {
    public:
        Reader(const Text& reply, const MessageRead& read)
            : m_reply(reply)
            , m_read(read)
        {
        }

        MessageList read()
        {
            std::string_view byteOrderMark = "\xEF\xBB\xBF";
            size_t start = skipSpace(m_reply, m_reply.starts_with(byteOrderMark) ? byteOrderMark.size() : 0);
            if (start == m_reply.size())
                return {};
            if (m_reply[start] == '{') {
                readReply(start);
                return std::move(m_list);
            }
            // A stray byte or line before the reply (a form feed, a no-break space, ")]}'"): the reply is read
            // from the first brace when a message list is named there. What is passed over holds no brace, so no
            // message.
            size_t brace = m_reply.find_first_of("{", start);
            if (brace != npos && readReply(brace)) {
                m_list.skippedBefore = brace - start;
                return std::move(m_list);
            }
            m_list = {};
            // Said apart, as a proxy's page and a list where an object should be are different faults.
            auto rest = m_reply.substr(start);
            bool json = m_decoder.objectWithUTF8String(rest.data(), rest.size()).has_value();
            m_list.withoutList = json ? "JSON without a message list" : "a text that is not JSON";
            return std::move(m_list);
        }

    private:
        // Where a value of the reply's object begins and ends (npos when the text ends inside it).
        struct Span {
            size_t start;
            size_t end;
        };

        // Reads the reply's object that opens at `at`; whether it names a message list ("d"). A list named twice
        // is read where it is named last, as the JSON decoder reads it; what an earlier one holds is kept as a
        // part that may hold messages.
        bool readReply(size_t at)
        {
            size_t stoppedAt = at;
            std::vector<Span> lists;
            size_t end
                = walkObject(m_reply, at, stoppedAt, [&](std::string_view key, size_t valueStart, size_t valueStop) {
                      if (decodedKey(key) == "d")
                          lists.push_back({ valueStart, valueStop });
                      return true;
                  });
            if (lists.empty()) {
                if (end != npos)
                    keepTrailingText(end);
                else if (!keepUnlessCut(stoppedAt, "the reply does not read"))
                    m_list.withoutList = "cut off before its message list";
                return false;
            }
            for (size_t i = 0; i + 1 < lists.size(); ++i) {
                auto value = m_reply.substr(lists[i].start, lists[i].end - lists[i].start);
                if (!holdsNothing(value))
                    unreadable(lists[i].start, lists[i].end, "a \"d\" named again later in the reply");
            }
            if (!payload(lists.back().start, lists.back().end))
                return true;
            if (end != npos)
                keepTrailingText(end);
            else
                keepUnlessCut(stoppedAt, "the reply does not read after its message list");
            return true;
        }

        // Whether a value under "d" holds nothing: an empty list, or null.
        static bool holdsNothing(std::string_view value)
        {
            if (value == "null")
                return true;
            return value.size() >= 2 && value.front() == '[' && value.back() == ']'
                && skipSpace(value, 1) == value.size() - 1;
        }

        std::string decodedKey(std::string_view key)
        {
            if (key.find('\\') == npos)
                return std::string(key.substr(1, key.size() - 2));
            std::string list = "[" + std::string(key) + "]";
            auto value = m_decoder.objectWithUTF8String(list.data(), list.size());
            const auto& array = value ? value->array() : nullptr;
            return array && array->count() == 1 && array->objectAtIndex(0).string() ? *array->objectAtIndex(0).string()
                                                                                    : std::string();
        }

        // The value under "d"; whether the walk of the reply goes on.
        bool payload(size_t value, size_t end)
        {
            switch (m_reply[value]) {
            case '[':
                return readList(value);
            case '{':
                m_list.withoutList = "\"d\" is an object, not a list of messages";
                return false;
            case 'n':
                return m_reply.substr(value, end - value) == "null";
            default:
                m_list.withoutList = "\"d\" is a text or a number, not a list of messages";
                return false;
            }
        }

        // The list whose opening bracket is at `at`; whether it ended where a list ends.
        bool readList(size_t at)
        {
            size_t index = 0;
            size_t objects = 0;
            size_t i = skipSpace(m_reply, at + 1);
            while (true) {
                if (i >= m_reply.size())
                    return false; // cut between two elements: nothing of a message is lost
                if (m_reply[i] == ']')
                    return true;
                size_t end = valueEnd(m_reply, i);
                if (end == npos) {
                    unreadable(i, m_reply.size(), "the reply ends inside element " + std::to_string(index));
                    return false;
                }
                if (end == i) {
                    unreadable(i, m_reply.size(), "the list does not read from element " + std::to_string(index));
                    return false;
                }
                if (m_reply[i] == '{')
                    readElement(i, end, index, objects++);
                else
                    unreadable(i, end, "element " + std::to_string(index) + " is not a message");
                i = skipSpace(m_reply, end);
                if (i < m_reply.size() && m_reply[i] == ',')
                    i = skipSpace(m_reply, i + 1);
                else if (i < m_reply.size() && m_reply[i] != ']') {
                    unreadable(i, m_reply.size(), "the list does not read after element " + std::to_string(index));
                    return false;
                }
                ++index;
            }
        }

        void readElement(size_t start, size_t end, size_t index, size_t position)
        {
            auto text = m_reply.substr(start, end - start);
            auto value = m_decoder.objectWithUTF8String(text.data(), text.size());
            base::DictionaryRef fields = value ? value->dictionary() : readFieldByField(text);
            if (!fields) {
                unreadable(start, end, "element " + std::to_string(index) + " does not read");
                return;
            }
            m_read(readMessage(fields), position);
        }

        // The fields of an object that does not decode whole, without those no message reads that do not decode
        // either; nothing when a field a message reads does not decode, or the object's shape does not read.
        base::DictionaryRef readFieldByField(std::string_view object)
        {
            base::Dictionary::Pairs fields;
            size_t stoppedAt = 0;
            size_t end
                = walkObject(object, 0, stoppedAt, [&](std::string_view key, size_t valueStart, size_t valueStop) {
                      if (valueStop == npos)
                          return false;
                      std::string member = "{" + std::string(key) + ":"
                          + std::string(object.substr(valueStart, valueStop - valueStart)) + "}";
                      auto decoded = m_decoder.objectWithUTF8String(member.data(), member.size());
                      if (const auto& pair = decoded ? decoded->dictionary() : nullptr) {
                          for (auto [name, field] : *pair)
                              fields.emplace_back(*name, *field);
                          return true;
                      }
                      std::string name = decodedKey(key);
                      return std::none_of(std::begin(MessageKeys), std::end(MessageKeys),
                          [&](const char* read) { return name == read; });
                  });
            if (end != object.size())
                return nullptr;
            return base::Dictionary::make(std::move(fields));
        }

        void unreadable(size_t start, size_t end, std::string why)
        {
            m_list.unreadable.push_back({ start, std::string(m_reply.substr(start, end - start)), std::move(why) });
        }

        // What is left from `at`, where the walk of the reply stopped, is kept as a part that may hold a message,
        // unless the text merely ends there (a reply cut off there holds nothing more); whether it was kept.
        bool keepUnlessCut(size_t at, const char* why)
        {
            if (valueEndsTheText(at))
                return false;
            unreadable(at, m_reply.size(), why);
            return true;
        }

        // Whether the text from `at` ends before a member and its value are whole.
        bool valueEndsTheText(size_t at) const
        {
            size_t keyEnd = at < m_reply.size() && m_reply[at] == '"' ? stringEnd(m_reply, at) : at;
            if (keyEnd == npos || keyEnd >= m_reply.size())
                return true;
            size_t colon = skipSpace(m_reply, keyEnd);
            if (colon >= m_reply.size())
                return true;
            return m_reply[colon] == ':' && valueEnd(m_reply, skipSpace(m_reply, colon + 1)) == npos;
        }

        // Text after the reply's object, other than white space and NUL bytes, is kept: it may be another reply.
        void keepTrailingText(size_t end)
        {
            auto rest = m_reply.substr(end);
            if (std::any_of(rest.begin(), rest.end(), [](char c) { return c != '\0' && !isSpace(c); }))
                unreadable(end, m_reply.size(), "text after the reply");
        }

        const Text& m_reply;
        const MessageRead& m_read;
        json::JSONDecoder m_decoder { Loose };
        MessageList m_list;
    };

} // namespace

MessageList readMessageList(std::string_view reply)
{
    MessageList list;
    MessageRead keep = [&list](std::shared_ptr<UserMessageQuery> message, size_t position) {
        list.messages.push_back(std::move(message));
        list.positions.push_back(position);
    };
    MessageList rest = readMessageList(reply, keep);
    rest.messages = std::move(list.messages);
    rest.positions = std::move(list.positions);
    return rest;
}

MessageList readMessageList(std::string_view reply, const MessageRead& read) { return Reader(reply, read).read(); }

MessageList readMessageList(const FileText& reply, const MessageRead& read) { return Reader(reply, read).read(); }

std::optional<size_t> followEmptyMessageList(std::string_view text, size_t matched)
{
    for (char c : text) {
        // White space may stand between the tokens, not inside the key.
        bool insideKey = matched == 2 || matched == 3;
        if (isSpace(c) && !insideKey)
            continue;
        if (matched == EmptyReply.size() || c != EmptyReply[matched])
            return std::nullopt;
        ++matched;
    }
    return matched;
}

bool holdsEmptyMessageList(std::string_view reply) { return followEmptyMessageList(reply) == EmptyReply.size(); }

} // namespace core
