#include "json/JSONParser.h"

#include "json/JSONArray.h"
#include "json/JSONDecoderKey.h"
#include "json/JSONDictionary.h"
#include "json/JSONValueHash.h"
#include "json/PlainValue.h"
#include "json/SharedWithStorage.h"

#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace json {

namespace {

    const char* const ExpectedArrayOrObject = "Expected either '[' or '{'.";
    const char* const TrailingText
        = "A valid JSON object was parsed but there were additional non-white-space characters remaining.";
    const char* const EndOfBuffer = "Reached the end of the buffer.";
    const char* const UnableToParse = "Unable to parse JSON.";
    const char* const TooDeep = JSONTooDeepMessage;

    // Stacks above this many entries are released after a parse rather than kept for the next one.
    constexpr size_t KeptStackEntries = 4096;

    // Texts up to this long are looked up among the document's strings, so that repeated ones share one; a
    // longer text seldom repeats, and hashing it would cost more than it saves.
    constexpr size_t LongestSharedText = 15;

    template <typename Made> void releaseMade(std::vector<Made>& made)
    {
        made.clear();
        if (made.capacity() > KeptStackEntries)
            std::vector<Made>().swap(made);
    }

    template <typename Made> void truncate(std::vector<Made>& made, size_t size)
    {
        made.erase(made.begin() + static_cast<std::ptrdiff_t>(size), made.end());
    }

} // namespace

std::optional<base::Value> JSONParser::parse(
    ParseOptions options, const char* bytes, size_t length, bool mutableCollections, base::Error* error)
{
    m_options = options;
    m_mutableCollections = mutableCollections;
    m_depth = 0;
    m_tokens.reset(options, bytes, length);
    DocumentArena::Reference arena = DocumentArena::make(length);
    m_arena = arena.get();
    m_strings.start(*m_arena, length);

    base::Value root;
    bool parsed = parseRoot(root);
    if (!parsed) {
        if (!m_tokens.hasBytes())
            m_tokens.recordError(EndOfBuffer);
        m_tokens.recordError(UnableToParse);
        if (auto recorded = m_tokens.takeError())
            base::setError(error, std::move(*recorded));
    }
    releaseScratch();
    m_strings.finish();
    m_tokens.finish();
    // The containers made hold the arena now; without any, `arena` frees it.
    m_arena = nullptr;
    if (!parsed)
        return std::nullopt;
    return root;
}

void JSONParser::releaseScratch()
{
    m_arrayStack.clear(KeptStackEntries);
    m_objectStack.clear(KeptStackEntries);
    releaseMade(m_madeArrays);
    releaseMade(m_madeDictionaries);
}

void JSONParser::recordExpected(uint8_t accept, const char* valueDescription, const char* endDescription)
{
    if (m_tokens.hasError())
        return;
    std::string message = "Expected ";
    bool first = true;
    auto add = [&](const char* description) {
        if (!first)
            message += " or ";
        message += description;
        first = false;
    };
    if (accept & AcceptValue)
        add(valueDescription);
    if (accept & AcceptComma)
        add("a comma");
    if (accept & AcceptEnd)
        add(endDescription);
    message += ", not '";
    message.append(m_tokens.token().start, static_cast<size_t>(m_tokens.token().end - m_tokens.token().start));
    message += "'";
    m_tokens.recordError(message);
}

// MARK: Containers

bool JSONParser::parseRoot(base::Value& root)
{
    if (m_tokens.isEmpty() || !m_tokens.next())
        return false;
    if (m_tokens.token().type == TokenType::ArrayBegin) {
        base::ArrayRef array = parseArray();
        if (!array)
            return false;
        root = base::Value(std::move(array));
    } else if (m_tokens.token().type == TokenType::ObjectBegin) {
        base::DictionaryRef object = parseObject(false);
        if (!object)
            return false;
        root = base::Value(std::move(object));
    } else {
        m_tokens.recordError(ExpectedArrayOrObject);
        return false;
    }
    m_tokens.skipWhiteSpace();
    if (m_tokens.hasBytes() && !(m_options & JSONParseAllowTrailingText)) {
        m_tokens.recordError(TrailingText);
        return false;
    }
    return true;
}

bool JSONParser::enterContainer()
{
    if (++m_depth <= MaximumDepth)
        return true;
    m_tokens.recordError(TooDeep);
    return false;
}

void JSONParser::leaveContainer(const ScratchMarks& marks)
{
    truncate(m_madeArrays, marks.madeArrays);
    truncate(m_madeDictionaries, marks.madeDictionaries);
    m_tokens.truncateDecoded(marks.decoded);
    --m_depth;
}

bool JSONParser::isValueToken(TokenType type)
{
    constexpr unsigned valueTypes = 1u << static_cast<unsigned>(TokenType::Number)
        | 1u << static_cast<unsigned>(TokenType::String) | 1u << static_cast<unsigned>(TokenType::ObjectBegin)
        | 1u << static_cast<unsigned>(TokenType::ArrayBegin) | 1u << static_cast<unsigned>(TokenType::True)
        | 1u << static_cast<unsigned>(TokenType::False) | 1u << static_cast<unsigned>(TokenType::Null);
    return valueTypes >> static_cast<unsigned>(type) & 1;
}

template <typename Entry> inline bool JSONParser::readValue(ScratchStack<Entry>& stack)
{
    // Every value token but a container's carries its pending value already: the commonest values are
    // copied once, straight onto the stack, here; containers are parsed out of line.
    TokenType type = m_tokens.token().type;
    if (type == TokenType::ArrayBegin || type == TokenType::ObjectBegin) [[unlikely]]
        return readContainer(stack);
    PendingValue::copy(pendingOf(stack.push()), m_tokens.token().value);
    return true;
}

template <typename Entry> bool JSONParser::readContainer(ScratchStack<Entry>& stack)
{
    if (m_tokens.token().type == TokenType::ArrayBegin) {
        base::ArrayRef array = parseArray();
        if (!array)
            return false;
        setMade(pendingOf(stack.push()), PendingValue::Kind::MadeArray, m_madeArrays, std::move(array));
        return true;
    }
    base::DictionaryRef object = parseObject(std::is_same_v<Entry, PendingValue>);
    if (!object)
        return false;
    setMade(pendingOf(stack.push()), PendingValue::Kind::MadeDictionary, m_madeDictionaries, std::move(object));
    return true;
}

const DocumentString& JSONParser::documentString(std::string_view text, bool shared)
{
    if (!shared || text.size() > LongestSharedText)
        return m_arena->makeString(text);
    return m_strings.string(foldHash(hashString(text)), text);
}

template <typename Construct> void JSONParser::make(PendingValue& value, bool shareText, Construct&& construct)
{
    // Text in the input is the commonest value: tested before the jump through the table. A text borrows the
    // document's string, which the document's containers keep.
    if (value.kind == PendingValue::Kind::InputText) {
        construct(base::StringReference::Borrow {}, documentString(text(value), shareText).storage);
        return;
    }
    switch (value.kind) {
    case PendingValue::Kind::InputText:
    case PendingValue::Kind::DecodedText:
        construct(base::StringReference::Borrow {}, documentString(text(value), shareText).storage);
        return;
    case PendingValue::Kind::Integer:
        construct(value.integer);
        return;
    case PendingValue::Kind::Unsigned:
        construct(value.unsignedInteger);
        return;
    case PendingValue::Kind::Real:
        construct(value.real);
        return;
    case PendingValue::Kind::True:
        construct(true);
        return;
    case PendingValue::Kind::False:
        construct(false);
        return;
    case PendingValue::Kind::Null:
        construct();
        return;
    case PendingValue::Kind::MadeArray:
        construct(std::move(m_madeArrays[value.made]));
        return;
    case PendingValue::Kind::MadeDictionary:
        construct(std::move(m_madeDictionaries[value.made]));
        return;
    }
}

base::ArrayRef JSONParser::parseArray()
{
    size_t start = m_arrayStack.size();
    ScratchMarks marks = scratchMarks();
    base::ArrayRef array;
    uint8_t accept = AcceptValue | AcceptEnd;
    if (enterContainer()) {
        while (m_tokens.hasBytes() && m_tokens.next()) {
            TokenType type = m_tokens.token().type;
            if (type == TokenType::ArrayEnd) {
                if (!(accept & AcceptEnd)) {
                    m_tokens.recordError("Unexpected ']'.");
                    break;
                }
                size_t count = m_arrayStack.size() - start;
                auto created = makeSharedWithStorage<JSONArray>(
                    *m_arena, JSONArray::storageBytes(count), JSONDecoderKey(), count, m_mutableCollections);
                for (size_t i = start, end = start + count; i < end; ++i) {
                    bool plain = isPlain(m_arrayStack[i]);
                    make(m_arrayStack[i], true, [&created, plain](auto&&... arguments) {
                        created->appendDecoded(
                            JSONDecoderKey(), plain, std::forward<decltype(arguments)>(arguments)...);
                    });
                }
                array = std::move(created);
                break;
            }
            if (type == TokenType::Comma) {
                if (!(accept & AcceptComma)) {
                    m_tokens.recordError("Unexpected ','.");
                    break;
                }
                accept = AcceptValue;
                continue;
            }
            if (!isValueToken(type)) {
                recordExpected(accept, "a value", "a ']'");
                break;
            }
            if (!(accept & AcceptValue)) {
                m_tokens.recordError("Unexpected value.");
                break;
            }
            if (!readValue(m_arrayStack))
                break;
            accept = AcceptComma | AcceptEnd;
            // A comma usually follows at once: take it here rather than through the token switch.
            if (m_tokens.skip(','))
                accept = AcceptValue;
        }
    }
    m_arrayStack.truncate(start);
    leaveContainer(marks);
    return array;
}

base::DictionaryRef JSONParser::parseObject(bool elementOfArray)
{
    size_t start = m_objectStack.size();
    ScratchMarks marks = scratchMarks();
    std::shared_ptr<JSONDictionary> object;
    uint8_t accept = AcceptValue | AcceptEnd;
    if (enterContainer()) {
        while (m_tokens.hasBytes() && m_tokens.next()) {
            TokenType type = m_tokens.token().type;
            if (type == TokenType::ObjectEnd) {
                if (!(accept & AcceptEnd)) {
                    m_tokens.recordError("Unexpected '}'.");
                    break;
                }
                size_t count = m_objectStack.size() - start;
                // Keys are the document's strings: an immutable dictionary points to them, a mutable one holds
                // Values of its own that borrow them. The objects of an array are usually records that repeat
                // their keys and many of their values, which they share; other objects seldom repeat theirs,
                // so they make their own rather than look each up.
                object = makeSharedWithStorage<JSONDictionary>(*m_arena,
                    JSONDictionary::tableBytes(count, m_mutableCollections), JSONDecoderKey(), count,
                    m_mutableCollections);
                JSONHashTable& table = object->decodingTable(JSONDecoderKey());
                for (size_t i = start, end = start + count; i < end; ++i) {
                    PendingPair& pair = m_objectStack[i];
                    std::string_view keyText = text(pair.key);
                    const DocumentString& key
                        = elementOfArray ? m_strings.string(pair.keyHash, keyText) : m_arena->makeString(keyText);
                    table.addDecoded(pair.keyHash, key, isPlain(pair.object), [&](base::Value* storage) {
                        make(pair.object, elementOfArray, [storage](auto&&... arguments) {
                            new (storage) base::Value(std::forward<decltype(arguments)>(arguments)...);
                        });
                    });
                }
                break;
            }
            if (type == TokenType::Comma) {
                if (!(accept & AcceptComma)) {
                    m_tokens.recordError("Unexpected ','.");
                    break;
                }
                accept = AcceptValue;
                continue;
            }
            if (type != TokenType::String) {
                recordExpected(accept, "a \"STRING\"", "a '}'");
                break;
            }
            if (!(accept & AcceptValue)) {
                m_tokens.recordError("Unexpected string.");
                break;
            }
            PendingValue key;
            PendingValue::copy(key, m_tokens.token().value);
            uint32_t keyHash = foldHash(hashString(text(key)));
            // The colon usually follows the key at once.
            if (!m_tokens.skip(':')) {
                if (!m_tokens.next())
                    break;
                if (m_tokens.token().type != TokenType::Colon) {
                    m_tokens.recordError("Expected ':'.");
                    break;
                }
            }
            if (!m_tokens.next())
                break;
            if (!isValueToken(m_tokens.token().type)) {
                recordExpected(accept, "a value", "a '}'");
                break;
            }
            if (!readValue(m_objectStack))
                break;
            PendingPair& pair = m_objectStack.back();
            PendingValue::copy(pair.key, key);
            pair.keyHash = keyHash;
            accept = AcceptComma | AcceptEnd;
            if (m_tokens.skip(','))
                accept = AcceptValue;
        }
    }
    m_objectStack.truncate(start);
    leaveContainer(marks);
    return object;
}

} // namespace json
