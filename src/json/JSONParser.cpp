#include "json/JSONParser.h"

#include "base/UTF8.h"
#include "json/JSONArray.h"
#include "json/JSONDecoderKey.h"
#include "json/JSONError.h"
#include "json/JSONNumberConversion.h"
#include "json/JSONValueHash.h"
#include "json/SharedWithStorage.h"
#include "json/StringScan.h"
#include "json/UTF8.h"

#include <bit>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <utility>

namespace json {

namespace {

    const char* const ExpectedArrayOrObject = "Expected either '[' or '{'.";
    const char* const TrailingText
        = "A valid JSON object was parsed but there were additional non-white-space characters remaining.";
    const char* const EndOfBuffer = "Reached the end of the buffer.";
    const char* const UnableToParse = "Unable to parse JSON.";
    const char* const UnexpectedToken = "Unexpected token, wanted '{', '}', '[', ']', ',', ':', 'true', 'false', "
                                        "'null', '\"STRING\"', 'NUMBER'.";
    const char* const TooDeep = "Arrays and objects are nested more than 512 levels deep.";
    const char* const CutOffUTF8 = "End of buffer reached while parsing UTF8 in \"\" string.";
    const char* const IllegalUTF8 = "Illegal UTF8 sequence found in \"\" string.";
    const char* const InvalidEscape = "Invalid escape sequence found in \"\" string.";
    const char* const MissingLowSurrogate
        = "Required a second \\u Unicode escape sequence following a surrogate \\u Unicode escape sequence.";
    const char* const IllegalEscape = "Illegal \\u Unicode escape sequence.";
    const char* const InvalidString = "Invalid string.";
    const char* const InvalidNumber = "Invalid number.";

    // Scratch memory above these sizes is released after a parse rather than kept for the next one.
    constexpr size_t KeptStackEntries = 4096;
    constexpr size_t KeptBufferBytes = 65536;

    inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

    int hexDigitValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    std::string hexByte(uint8_t byte)
    {
        static const char digits[] = "0123456789abcdef";
        return { digits[byte >> 4], digits[byte & 0xF] };
    }

} // namespace

JSONParser::JSONParser(JSONTokenCache* cache)
    : m_cache(cache)
{
}

std::optional<base::Value> JSONParser::parse(
    ParseOptions options, const char* bytes, size_t length, bool mutableCollections, base::Error* error)
{
    m_options = options;
    m_mutableCollections = mutableCollections;
    m_begin = m_cursor = bytes;
    m_end = bytes + length;
    m_line = 1;
    m_depth = 0;
    m_errorMessage.reset();

    base::Value root;
    bool parsed = parseRoot(root);
    if (!parsed) {
        if (m_cursor == m_end)
            recordError(EndOfBuffer);
        recordError(UnableToParse);
    }
    if (!parsed && m_errorMessage && error)
        base::setError(error, makeJSONError(std::move(*m_errorMessage), m_errorIndex, m_errorLine));
    releaseScratch();
    m_begin = m_cursor = m_end = nullptr;
    if (!parsed)
        return std::nullopt;
    return root;
}

void JSONParser::releaseScratch()
{
    m_arrayStack.clear();
    m_objectStack.clear();
    m_made.clear();
    m_decoded.clear();
    if (m_arrayStack.capacity() > KeptStackEntries)
        std::vector<PendingValue>().swap(m_arrayStack);
    if (m_objectStack.capacity() > KeptStackEntries)
        std::vector<PendingPair>().swap(m_objectStack);
    if (m_made.capacity() > KeptStackEntries)
        std::vector<base::Value>().swap(m_made);
    if (m_decoded.capacity() > KeptBufferBytes)
        std::string().swap(m_decoded);
}

// MARK: Errors

void JSONParser::recordError(std::string_view message)
{
    if (m_errorMessage)
        return;
    m_errorMessage.emplace(message);
    m_errorIndex = static_cast<size_t>(m_cursor - m_begin);
    m_errorLine = m_line;
}

void JSONParser::recordExpected(uint8_t accept, const char* valueDescription, const char* endDescription)
{
    if (m_errorMessage)
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
    message.append(m_token.start, m_token.end);
    message += "'";
    recordError(message);
}

// MARK: Containers

bool JSONParser::parseRoot(base::Value& root)
{
    if (m_begin == m_end || !nextToken())
        return false;
    if (m_token.type == TokenType::ArrayBegin) {
        base::ArrayRef array = parseArray();
        if (!array)
            return false;
        root = base::Value(std::move(array));
    } else if (m_token.type == TokenType::ObjectBegin) {
        base::DictionaryRef object = parseObject();
        if (!object)
            return false;
        root = base::Value(std::move(object));
    } else {
        recordError(ExpectedArrayOrObject);
        return false;
    }
    skipWhiteSpace();
    if (m_cursor < m_end && !(m_options & JSONParseAllowTrailingText)) {
        recordError(TrailingText);
        return false;
    }
    return true;
}

bool JSONParser::enterContainer()
{
    if (++m_depth <= MaximumDepth)
        return true;
    recordError(TooDeep);
    return false;
}

bool JSONParser::isValueToken(TokenType type)
{
    switch (type) {
    case TokenType::Number:
    case TokenType::String:
    case TokenType::ObjectBegin:
    case TokenType::ArrayBegin:
    case TokenType::True:
    case TokenType::False:
    case TokenType::Null:
        return true;
    default:
        return false;
    }
}

void JSONParser::setMade(PendingValue& value, base::Value made)
{
    m_made.push_back(std::move(made));
    value.length = 0;
    value.kind = PendingValue::Kind::Made;
    value.made = m_made.size() - 1;
}

std::string_view JSONParser::text(const PendingValue& value) const
{
    switch (value.kind) {
    case PendingValue::Kind::InputText:
        return { value.text, value.length };
    case PendingValue::Kind::DecodedText:
        return { m_decoded.data() + value.offset, value.length };
    default:
        return *m_made[value.made].string();
    }
}

bool JSONParser::readValue(PendingValue& value)
{
    switch (m_token.type) {
    case TokenType::String:
        PendingValue::copy(value, m_token.value);
        if (m_cache && value.length && value.length <= JSONTokenCache::LongestCachedString) {
            std::string_view bytes = text(value);
            setMade(value, m_cache->string(bytes.data(), bytes.size(), hashString(bytes)));
        }
        return true;
    case TokenType::Number:
        PendingValue::copy(value, m_token.value);
        if (m_cache) {
            auto tag = static_cast<uint8_t>(m_token.numberType);
            setMade(
                value, m_cache->number(m_token.numberType, m_token.numberBits, hashNumber(tag, m_token.numberBits)));
        }
        return true;
    case TokenType::True:
        value.kind = PendingValue::Kind::True;
        return true;
    case TokenType::False:
        value.kind = PendingValue::Kind::False;
        return true;
    case TokenType::Null:
        value.kind = PendingValue::Kind::Null;
        return true;
    case TokenType::ArrayBegin:
        if (base::ArrayRef array = parseArray()) {
            setMade(value, base::Value(std::move(array)));
            return true;
        }
        return false;
    case TokenType::ObjectBegin:
        if (base::DictionaryRef object = parseObject()) {
            setMade(value, base::Value(std::move(object)));
            return true;
        }
        return false;
    default:
        return false;
    }
}

template <typename Construct> void JSONParser::make(PendingValue& value, Construct&& construct)
{
    switch (value.kind) {
    case PendingValue::Kind::InputText:
    case PendingValue::Kind::DecodedText:
        construct(text(value));
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
    case PendingValue::Kind::Made:
        construct(std::move(m_made[value.made]));
        return;
    }
}

base::ArrayRef JSONParser::parseArray()
{
    size_t start = m_arrayStack.size();
    size_t madeStart = m_made.size();
    size_t decodedStart = m_decoded.size();
    base::ArrayRef array;
    uint8_t accept = AcceptValue | AcceptEnd;
    if (enterContainer()) {
        while (m_cursor < m_end && nextToken()) {
            TokenType type = m_token.type;
            if (type == TokenType::ArrayEnd) {
                if (!(accept & AcceptEnd)) {
                    recordError("Unexpected ']'.");
                    break;
                }
                size_t count = m_arrayStack.size() - start;
                auto created = makeSharedWithStorage<JSONArray>(
                    JSONArray::storageBytes(count), JSONDecoderKey(), count, m_mutableCollections);
                auto append = [&created](auto&&... arguments) {
                    created->appendDecoded(JSONDecoderKey(), std::forward<decltype(arguments)>(arguments)...);
                };
                for (size_t i = start; i < m_arrayStack.size(); ++i)
                    make(m_arrayStack[i], append);
                array = std::move(created);
                break;
            }
            if (type == TokenType::Comma) {
                if (!(accept & AcceptComma)) {
                    recordError("Unexpected ','.");
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
                recordError("Unexpected value.");
                break;
            }
            PendingValue value;
            if (!readValue(value))
                break;
            PendingValue::copy(m_arrayStack.emplace_back(), value);
            accept = AcceptComma | AcceptEnd;
            // A comma usually follows at once: take it here rather than through the token switch.
            if (m_cursor < m_end && *m_cursor == ',') {
                ++m_cursor;
                accept = AcceptValue;
            }
        }
    }
    m_arrayStack.resize(start);
    m_made.erase(m_made.begin() + static_cast<std::ptrdiff_t>(madeStart), m_made.end());
    m_decoded.resize(decodedStart);
    --m_depth;
    return array;
}

base::DictionaryRef JSONParser::parseObject()
{
    size_t start = m_objectStack.size();
    size_t madeStart = m_made.size();
    size_t decodedStart = m_decoded.size();
    std::shared_ptr<JSONDictionary> object;
    uint8_t accept = AcceptValue | AcceptEnd;
    if (enterContainer()) {
        while (m_cursor < m_end && nextToken()) {
            TokenType type = m_token.type;
            if (type == TokenType::ObjectEnd) {
                if (!(accept & AcceptEnd)) {
                    recordError("Unexpected '}'.");
                    break;
                }
                size_t count = m_objectStack.size() - start;
                object = makeSharedWithStorage<JSONDictionary>(JSONDictionary::tableBytes(count, m_mutableCollections),
                    JSONDecoderKey(), count, m_mutableCollections);
                JSONHashTable& table = object->decodingTable(JSONDecoderKey());
                for (size_t i = start; i < m_objectStack.size(); ++i) {
                    PendingPair& pair = m_objectStack[i];
                    table.addDecoded(pair.keyHash, text(pair.key), [&](base::Value* storage) {
                        make(pair.object, [storage](auto&&... arguments) {
                            new (storage) base::Value(std::forward<decltype(arguments)>(arguments)...);
                        });
                    });
                }
                break;
            }
            if (type == TokenType::Comma) {
                if (!(accept & AcceptComma)) {
                    recordError("Unexpected ','.");
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
                recordError("Unexpected string.");
                break;
            }
            PendingValue key;
            PendingValue::copy(key, m_token.value);
            uint32_t keyHash = foldHash(hashString(text(key)));
            // The colon usually follows the key at once.
            if (m_cursor < m_end && *m_cursor == ':') {
                ++m_cursor;
            } else {
                if (!nextToken())
                    break;
                if (m_token.type != TokenType::Colon) {
                    recordError("Expected ':'.");
                    break;
                }
            }
            if (!nextToken())
                break;
            if (!isValueToken(m_token.type)) {
                recordExpected(accept, "a value", "a '}'");
                break;
            }
            PendingValue value;
            if (!readValue(value))
                break;
            PendingPair& pair = m_objectStack.emplace_back();
            PendingValue::copy(pair.key, key);
            PendingValue::copy(pair.object, value);
            pair.keyHash = keyHash;
            accept = AcceptComma | AcceptEnd;
            if (m_cursor < m_end && *m_cursor == ',') {
                ++m_cursor;
                accept = AcceptValue;
            }
        }
    }
    m_objectStack.resize(start);
    m_made.erase(m_made.begin() + static_cast<std::ptrdiff_t>(madeStart), m_made.end());
    m_decoded.resize(decodedStart);
    --m_depth;
    return object;
}

// MARK: White space and tokens

size_t JSONParser::lineBreakLength(const char* p) const
{
    switch (static_cast<uint8_t>(*p)) {
    case '\n':
        return 1;
    case '\r':
        return (p + 1 < m_end && p[1] == '\n') ? 2 : 1;
    case 0xC2:
        if ((m_options & JSONParseUnicodeLineBreaks) && m_end - p >= 2 && static_cast<uint8_t>(p[1]) == 0x85)
            return 2;
        return 0;
    case 0xE2:
        if ((m_options & JSONParseUnicodeLineBreaks) && m_end - p >= 3 && static_cast<uint8_t>(p[1]) == 0x80
            && (static_cast<uint8_t>(p[2]) == 0xA8 || static_cast<uint8_t>(p[2]) == 0xA9))
            return 3;
        return 0;
    default:
        return 0;
    }
}

void JSONParser::skipWhiteSpace()
{
    while (m_cursor < m_end) {
        char c = *m_cursor;
        // Most calls find a token at once: printable ASCII other than the slash cannot be white space.
        if (c > ' ' && c != '/' && c < 0x7F)
            return;
        if (c == ' ' || c == '\t') {
            ++m_cursor;
        } else if (size_t length = lineBreakLength(m_cursor)) {
            m_cursor += length;
            ++m_line;
        } else if (c == '/' && (m_options & JSONParseAllowComments) && m_end - m_cursor >= 2
            && (m_cursor[1] == '/' || m_cursor[1] == '*')) {
            skipComment();
        } else {
            return;
        }
    }
}

void JSONParser::skipComment()
{
    bool isLineComment = m_cursor[1] == '/';
    m_cursor += 2;
    while (m_cursor < m_end) {
        if (size_t length = lineBreakLength(m_cursor)) {
            m_cursor += length;
            ++m_line;
            if (isLineComment)
                return;
        } else if (!isLineComment && *m_cursor == '*' && m_end - m_cursor >= 2 && m_cursor[1] == '/') {
            m_cursor += 2;
            return;
        } else {
            ++m_cursor;
        }
    }
}

bool JSONParser::nextToken()
{
    skipWhiteSpace();
    m_token.start = m_cursor;
    if (m_cursor == m_end) {
        m_token.end = m_cursor;
        recordError(UnexpectedToken);
        return false;
    }
    // The commonest tokens first, tested one by one: they follow each other in regular patterns that
    // conditional branches predict better than one jump through a table.
    char c = *m_cursor;
    if (c == '"')
        return readString();
    TokenType type;
    if (c == ':') {
        type = TokenType::Colon;
    } else if (c == ',') {
        type = TokenType::Comma;
    } else {
        switch (c) {
        case '-':
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9':
            return readNumber();
        case '{':
            type = TokenType::ObjectBegin;
            break;
        case '}':
            type = TokenType::ObjectEnd;
            break;
        case '[':
            type = TokenType::ArrayBegin;
            break;
        case ']':
            type = TokenType::ArrayEnd;
            break;
        case 't':
            return readLiteral("true", TokenType::True);
        case 'f':
            return readLiteral("false", TokenType::False);
        case 'n':
            return readLiteral("null", TokenType::Null);
        default:
            m_token.end = m_cursor;
            recordError(UnexpectedToken);
            return false;
        }
    }
    m_token.type = type;
    m_token.end = ++m_cursor;
    return true;
}

// A literal counts only when at least one byte follows it: a document cannot end with one, since the root
// is an array or object.
bool JSONParser::readLiteral(std::string_view literal, TokenType type)
{
    if (static_cast<size_t>(m_end - m_cursor) <= literal.size()
        || std::memcmp(m_cursor, literal.data(), literal.size()) != 0) {
        m_token.end = m_cursor;
        recordError(UnexpectedToken);
        return false;
    }
    m_token.type = type;
    m_cursor += literal.size();
    m_token.end = m_cursor;
    return true;
}

// MARK: Strings

// The first byte at or after `p` that ends a plain run of string bytes, or `end`.
const char* JSONParser::skipPlainBytes(const char* p) const { return findSpecialByte<false>(p, m_end); }

bool JSONParser::finishString(const char* closingQuote)
{
    m_token.type = TokenType::String;
    m_cursor = closingQuote + 1;
    m_token.end = m_cursor;
    return true;
}

bool JSONParser::failControlCharacter(const char* at)
{
    m_cursor = at;
    if (!m_errorMessage)
        recordError("Invalid character < 0x20 found in string: 0x" + hexByte(static_cast<uint8_t>(*at)) + ".");
    return failString(at);
}

// Strings without escapes or bad UTF-8 are read in place.
bool JSONParser::readString()
{
    const char* start = m_cursor + 1;
    const char* p = start;
    for (;;) {
        p = skipPlainBytes(p);
        if (p == m_end)
            return failString(p);
        auto byte = static_cast<uint8_t>(*p);
        if (byte == '"') {
            m_token.value.length = static_cast<size_t>(p - start);
            m_token.value.kind = PendingValue::Kind::InputText;
            m_token.value.text = start;
            return finishString(p);
        }
        if (byte == '\\')
            return readEscapedString(start, p);
        if (byte < 0x20)
            return failControlCharacter(p);
        UTF8Sequence sequence
            = decodeUTF8Sequence(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(m_end));
        if (sequence.status != UTF8Status::WellFormed)
            return readEscapedString(start, p);
        p = reinterpret_cast<const char*>(sequence.next);
    }
}

// The string from `p` on holds an escape or a bad UTF-8 sequence: decode it onto the decoded-string buffer.
bool JSONParser::readEscapedString(const char* start, const char* p)
{
    const bool replaceInvalid = m_options & JSONParseReplaceInvalidUnicode;
    std::string& out = m_decoded;
    size_t offset = out.size();
    out.append(start, static_cast<size_t>(p - start));
    for (;;) {
        const char* run = p;
        p = skipPlainBytes(p);
        out.append(run, static_cast<size_t>(p - run));
        if (p == m_end)
            break;
        auto byte = static_cast<uint8_t>(*p);
        if (byte == '"') {
            m_token.value.length = out.size() - offset;
            m_token.value.kind = PendingValue::Kind::DecodedText;
            m_token.value.offset = offset;
            return finishString(p);
        }
        if (byte < 0x20)
            return failControlCharacter(p);
        if (byte >= 0x80) {
            UTF8Sequence sequence
                = decodeUTF8Sequence(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(m_end));
            auto next = reinterpret_cast<const char*>(sequence.next);
            if (sequence.status == UTF8Status::WellFormed) {
                out.append(p, static_cast<size_t>(next - p));
            } else if (sequence.status == UTF8Status::IllFormed && replaceInvalid) {
                base::utf8::append(out, ReplacementCharacter);
            } else {
                m_cursor = p;
                recordError(sequence.status == UTF8Status::CutOff ? CutOffUTF8 : IllegalUTF8);
                return failString(p);
            }
            p = next;
            continue;
        }
        // A backslash.
        if (++p == m_end)
            break;
        char escaped = *p++;
        switch (escaped) {
        case '"':
        case '\\':
        case '/':
            out.push_back(escaped);
            continue;
        case 'b':
            out.push_back('\b');
            continue;
        case 'f':
            out.push_back('\f');
            continue;
        case 'n':
            out.push_back('\n');
            continue;
        case 'r':
            out.push_back('\r');
            continue;
        case 't':
            out.push_back('\t');
            continue;
        case 'u':
            break;
        default:
            m_cursor = p - 1;
            recordError(InvalidEscape);
            return failString(p - 1);
        }
        char32_t codePoint;
        if (!readHexQuad(p, codePoint))
            return failString(p);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            // A high surrogate must be followed by the escape of a low one.
            if (p == m_end)
                break;
            if (*p != '\\' || (p + 1 < m_end && p[1] != 'u')) {
                if (!replaceInvalid) {
                    m_cursor = p;
                    recordError(MissingLowSurrogate);
                    return failString(p);
                }
                base::utf8::append(out, ReplacementCharacter);
                continue;
            }
            if (p + 1 == m_end)
                break;
            p += 2;
            char32_t low;
            if (!readHexQuad(p, low))
                return failString(p);
            if (low >= 0xDC00 && low <= 0xDFFF)
                codePoint = ((codePoint - 0xD800) << 10) + (low - 0xDC00) + 0x10000;
            else
                codePoint = 0xD800;
        }
        if (isIllegalCodePoint(codePoint)) {
            if (!replaceInvalid) {
                m_cursor = p;
                recordError(IllegalEscape);
                return failString(p);
            }
            codePoint = ReplacementCharacter;
        }
        base::utf8::append(out, codePoint);
    }
    return failString(m_end);
}

bool JSONParser::readHexQuad(const char*& p, char32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i, ++p) {
        if (p == m_end)
            return false;
        int digit = hexDigitValue(*p);
        if (digit < 0) {
            m_cursor = p;
            if (!m_errorMessage) {
                // The offending byte is shown as is when it is ASCII; any other byte as U+FFFD, so that the
                // message stays valid UTF-8.
                std::string found;
                if (static_cast<uint8_t>(*p) < 0x80)
                    found.push_back(*p);
                else
                    base::utf8::append(found, ReplacementCharacter);
                recordError("Unexpected character found in \\u Unicode escape sequence.  Found '" + found
                    + "', expected [0-9a-fA-F].");
            }
            return false;
        }
        value = (value << 4) | static_cast<char32_t>(digit);
    }
    return true;
}

bool JSONParser::failString(const char* at)
{
    m_cursor = at;
    recordError(InvalidString);
    recordError(UnexpectedToken);
    return false;
}

// MARK: Numbers

bool JSONParser::readNumber()
{
    const char* start = m_cursor;
    const char* p = start;
    bool hasFractionOrExponent = false;
    if (*p == '-')
        ++p;
    if (p == m_end || !isDigit(*p))
        return failNumber(p);
    if (*p++ != '0') {
        while (p < m_end && isDigit(*p))
            ++p;
    }
    if (p < m_end && *p == '.') {
        if (++p == m_end || !isDigit(*p))
            return failNumber(p);
        while (p < m_end && isDigit(*p))
            ++p;
        hasFractionOrExponent = true;
    }
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        if (++p < m_end && (*p == '+' || *p == '-'))
            ++p;
        if (p == m_end || !isDigit(*p))
            return failNumber(p);
        while (p < m_end && isDigit(*p))
            ++p;
        hasFractionOrExponent = true;
    }
    // A number must be followed by the byte that ends it.
    if (p == m_end)
        return failNumber(p);
    m_cursor = p;
    m_token.end = p;
    JSONNumber number;
    std::string message;
    if (!convertJSONNumber(start, p, hasFractionOrExponent, number, message)) {
        if (!message.empty())
            recordError(message);
        return failNumber(p);
    }
    m_token.type = TokenType::Number;
    m_token.numberType = number.type;
    m_token.numberBits = number.bits;
    switch (number.type) {
    case TokenValueType::Double:
        m_token.value.kind = PendingValue::Kind::Real;
        m_token.value.real = std::bit_cast<double>(number.bits);
        break;
    case TokenValueType::UnsignedInteger:
        if (number.bits > uint64_t(std::numeric_limits<int64_t>::max())) {
            m_token.value.kind = PendingValue::Kind::Unsigned;
            m_token.value.unsignedInteger = number.bits;
            break;
        }
        [[fallthrough]];
    default:
        m_token.value.kind = PendingValue::Kind::Integer;
        m_token.value.integer = static_cast<int64_t>(number.bits);
        break;
    }
    return true;
}

bool JSONParser::failNumber(const char* at)
{
    m_cursor = at;
    m_token.end = at;
    recordError(InvalidNumber);
    return false;
}

} // namespace json
