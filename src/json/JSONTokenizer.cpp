#include "json/JSONTokenizer.h"

#include "base/text/UTF8.h"
#include "json/JSONError.h"
#include "json/JSONNumberConversion.h"
#include "json/StringScan.h"
#include "json/UTF8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

namespace json {

namespace {

    const char* const UnexpectedToken = "Unexpected token, wanted '{', '}', '[', ']', ',', ':', 'true', 'false', "
                                        "'null', '\"STRING\"', 'NUMBER'.";
    const char* const CutOffUTF8 = "End of buffer reached while parsing UTF8 in \"\" string.";
    const char* const IllegalUTF8 = "Illegal UTF8 sequence found in \"\" string.";
    const char* const InvalidEscape = "Invalid escape sequence found in \"\" string.";
    const char* const MissingLowSurrogate
        = "Required a second \\u Unicode escape sequence following a surrogate \\u Unicode escape sequence.";
    const char* const IllegalEscape = "Illegal \\u Unicode escape sequence.";
    const char* const InvalidString = "Invalid string.";
    const char* const InvalidNumber = "Invalid number.";

    // A decoded-string buffer above this size is released after a parse rather than kept for the next one.
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

    // The most bytes one step of decoding an escaped string writes: a four-byte sequence.
    constexpr size_t LongestStep = 4;

    // Writes the UTF-8 form of a code point that is not a surrogate and at most U+10FFFF.
    char* putCodePoint(char* out, char32_t c)
    {
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        return out;
    }

    // The byte each one-character escape stands for, by the character after the backslash; 0 for others.
    constexpr std::array<char, 256> SimpleEscapes = [] {
        std::array<char, 256> table {};
        for (char c : { '"', '\\', '/' })
            table[static_cast<uint8_t>(c)] = c;
        table['b'] = '\b';
        table['f'] = '\f';
        table['n'] = '\n';
        table['r'] = '\r';
        table['t'] = '\t';
        return table;
    }();

    // The token type + 1 of each punctuation byte; 0 for other bytes.
    constexpr std::array<uint8_t, 256> PunctuationTypes = [] {
        using TokenType = JSONTokenizer::TokenType;
        std::array<uint8_t, 256> table {};
        auto set
            = [&table](char c, TokenType type) { table[static_cast<uint8_t>(c)] = static_cast<uint8_t>(type) + 1; };
        set(':', TokenType::Colon);
        set(',', TokenType::Comma);
        set('{', TokenType::ObjectBegin);
        set('}', TokenType::ObjectEnd);
        set('[', TokenType::ArrayBegin);
        set(']', TokenType::ArrayEnd);
        return table;
    }();

    std::string hexByte(uint8_t byte)
    {
        static const char digits[] = "0123456789abcdef";
        return { digits[byte >> 4], digits[byte & 0xF] };
    }

} // namespace

void JSONTokenizer::reset(ParseOptions options, const char* bytes, size_t length)
{
    m_options = options;
    m_begin = m_cursor = bytes;
    m_end = bytes + length;
    m_line = 1;
    m_decodedSize = 0;
    m_errorMessage.reset();
}

void JSONTokenizer::finish()
{
    m_begin = m_cursor = m_end = nullptr;
    m_decodedSize = 0;
    if (m_decodedCapacity > KeptBufferBytes) {
        m_decoded.reset();
        m_decodedCapacity = 0;
    }
}

void JSONTokenizer::recordError(std::string_view message)
{
    if (m_errorMessage)
        return;
    m_errorMessage.emplace(message);
    m_errorIndex = static_cast<size_t>(m_cursor - m_begin);
    m_errorLine = m_line;
}

std::optional<base::Error> JSONTokenizer::takeError()
{
    if (!m_errorMessage)
        return std::nullopt;
    base::Error error = makeJSONError(std::move(*m_errorMessage), m_errorIndex, m_errorLine);
    m_errorMessage.reset();
    return error;
}

// MARK: White space and tokens

size_t JSONTokenizer::lineBreakLength(const char* p) const
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

void JSONTokenizer::skipWhiteSpaceRun()
{
    while (m_cursor < m_end) {
        char c = *m_cursor;
        if (PrintableNotSlash[static_cast<uint8_t>(c)])
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

void JSONTokenizer::skipComment()
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

bool JSONTokenizer::next()
{
    skipWhiteSpace();
    m_token.start = m_cursor;
    if (m_cursor == m_end) {
        m_token.end = m_cursor;
        recordError(UnexpectedToken);
        return false;
    }
    // Strings first, then the punctuation by one table look-up: a chain of tests on the byte would be turned
    // into a jump through a table, which predicts worse than these few branches.
    char c = *m_cursor;
    if (c == '"')
        return readString();
    if (uint8_t punctuation = PunctuationTypes[static_cast<uint8_t>(c)]) {
        m_token.type = static_cast<TokenType>(punctuation - 1);
        m_token.end = ++m_cursor;
        return true;
    }
    if (isDigit(c) || c == '-')
        return readNumber();
    if (c == 't')
        return readLiteral("true", TokenType::True, PendingValue::Kind::True);
    if (c == 'f')
        return readLiteral("false", TokenType::False, PendingValue::Kind::False);
    if (c == 'n')
        return readLiteral("null", TokenType::Null, PendingValue::Kind::Null);
    m_token.end = m_cursor;
    recordError(UnexpectedToken);
    return false;
}

// A literal counts only when at least one byte follows it: a document cannot end with one, since the root
// is an array or object.
bool JSONTokenizer::readLiteral(std::string_view literal, TokenType type, PendingValue::Kind kind)
{
    if (static_cast<size_t>(m_end - m_cursor) <= literal.size()
        || std::memcmp(m_cursor, literal.data(), literal.size()) != 0) {
        m_token.end = m_cursor;
        recordError(UnexpectedToken);
        return false;
    }
    m_token.type = type;
    m_token.value.kind = kind;
    m_cursor += literal.size();
    m_token.end = m_cursor;
    return true;
}

// MARK: Strings

bool JSONTokenizer::finishString(const char* closingQuote)
{
    m_token.type = TokenType::String;
    m_cursor = closingQuote + 1;
    m_token.end = m_cursor;
    return true;
}

bool JSONTokenizer::failControlCharacter(const char* at)
{
    m_cursor = at;
    if (!m_errorMessage)
        recordError("Invalid character < 0x20 found in string: 0x" + hexByte(static_cast<uint8_t>(*at)) + ".");
    return failString(at);
}

// Strings without escapes or bad UTF-8 are read in place. Most end before any other special byte: that case
// is taken inline, and the rest of the scan is a function of its own, so that the short path saves no
// registers for it.
inline bool JSONTokenizer::readString()
{
    const char* start = m_cursor + 1;
    const char* p = findSpecialByte<false>(start, m_end);
    if (p != m_end && *p == '"') [[likely]]
        return finishPlainString(start, p);
    return readStringFrom(start, p);
}

bool JSONTokenizer::finishPlainString(const char* start, const char* closingQuote)
{
    m_token.value.length = static_cast<size_t>(closingQuote - start);
    m_token.value.kind = PendingValue::Kind::InputText;
    m_token.value.text = start;
    return finishString(closingQuote);
}

bool JSONTokenizer::readStringFrom(const char* start, const char* p)
{
    for (;;) {
        if (p == m_end)
            return failString(p);
        auto byte = static_cast<uint8_t>(*p);
        if (byte == '"')
            return finishPlainString(start, p);
        if (byte == '\\')
            return readEscapedString(start, p);
        if (byte < 0x20)
            return (m_options & JSONParseReplaceInvalidUnicode) ? readEscapedString(start, p) : failControlCharacter(p);
        if (const char* after = skipCommonSequences(p, m_end); after != p) {
            p = after;
        } else {
            UTF8Sequence sequence
                = decodeUTF8Sequence(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(m_end));
            if (sequence.status != UTF8Status::WellFormed)
                return readEscapedString(start, p);
            p = reinterpret_cast<const char*>(sequence.next);
        }
        p = findSpecialByte<false>(p, m_end);
    }
}

// The string from `p` on holds an escape or a bad UTF-8 sequence: decode it onto the decoded-string buffer.
// Decoding never makes text longer, apart from replacing a bad sequence, so the buffer is given room for the
// rest of the input once (and again after a replacement) and written without further checks.
//
// A string that holds a JSON text has a one-character escape every few bytes, so that case is taken first and
// at once, and the next special byte is taken from the scan that found the escape when it lies in the same
// block. The cursor, the output and the end are locals that no call sees: stores through `out` could
// otherwise alias them, which would keep them in memory, reloaded for every byte written. The rarer escapes and
// sequences are read through copies of them.
bool JSONTokenizer::readEscapedString(const char* start, const char* p)
{
    const size_t offset = m_decodedSize;
    char* out = decodedRoom(m_decoded.get() + offset, static_cast<size_t>(m_end - start) + LongestStep);
    std::memcpy(out, start, static_cast<size_t>(p - start));
    out += p - start;
    const char* const end = m_end;
    // The special bytes ahead that the last scan found: the next escape is usually among them.
    unsigned known = 0;
    for (;;) {
        copyToSpecialByte(p, end, out, known);
        if (p == end)
            return failString(end);
        auto byte = static_cast<uint8_t>(*p);
        if (byte == '\\' && end - p >= 2) {
            if (char decoded = SimpleEscapes[static_cast<uint8_t>(p[1])]) {
                *out++ = decoded;
                p += 2;
                known >>= 2;
                continue;
            }
        }
        known = 0;
        if (byte == '"') {
            m_decodedSize = static_cast<size_t>(out - m_decoded.get());
            m_token.value.length = m_decodedSize - offset;
            m_token.value.kind = PendingValue::Kind::DecodedText;
            m_token.value.offset = offset;
            return finishString(p);
        }
        if (const char* after = skipCommonSequences(p, end); after != p) {
            std::memcpy(out, p, static_cast<size_t>(after - p));
            out += after - p;
            p = after;
            continue;
        }
        const char* from = p;
        char* to = out;
        if (!readRareSpecialByte(from, to))
            return false;
        p = from;
        out = to;
    }
}

// Reads the special byte at `p` that is neither a quote, a one-character escape nor the start of a common
// sequence onto `out`, as readEscapedString does, and moves both past it; false after recording why it cannot.
bool JSONTokenizer::readRareSpecialByte(const char*& p, char*& out)
{
    auto byte = static_cast<uint8_t>(*p);
    if (byte == '\\')
        return readEscape(p, out);
    if (byte < 0x20)
        return readControlCharacter(p, out);
    return readSequence(p, out);
}

// A raw control character inside a string: replaced when the options ask for it, as a bad sequence is, and
// else a failure recorded.
bool JSONTokenizer::readControlCharacter(const char*& p, char*& out)
{
    if (!(m_options & JSONParseReplaceInvalidUnicode))
        return failControlCharacter(p);
    out = putReplacement(out, ++p);
    return true;
}

// The replacement may be longer than what it replaces: room for the rest of the input, from `rest`, again.
char* JSONTokenizer::putReplacement(char* out, const char* rest)
{
    out = putCodePoint(out, ReplacementCharacter);
    return decodedRoom(out, static_cast<size_t>(m_end - rest) + LongestStep);
}

// Copies the well-formed UTF-8 sequence at `p` onto `out`, or its replacement when the options ask for one,
// and moves both past it; false after recording why it cannot.
bool JSONTokenizer::readSequence(const char*& p, char*& out)
{
    UTF8Sequence sequence
        = decodeUTF8Sequence(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(m_end));
    auto next = reinterpret_cast<const char*>(sequence.next);
    if (sequence.status == UTF8Status::WellFormed) {
        std::memcpy(out, p, static_cast<size_t>(next - p));
        out += next - p;
    } else if (sequence.status == UTF8Status::IllFormed && (m_options & JSONParseReplaceInvalidUnicode)) {
        out = putReplacement(out, next);
    } else {
        m_cursor = p;
        recordError(sequence.status == UTF8Status::CutOff ? CutOffUTF8 : IllegalUTF8);
        return failString(p);
    }
    p = next;
    return true;
}

// Decodes the escape at the backslash at `p` that is not a one-character escape onto `out` (which has room
// for it) and moves both past it; false after recording why it cannot. An escape cut off by the end of the
// input leaves `p` at the end.
bool JSONTokenizer::readEscape(const char*& p, char*& out)
{
    const bool replaceInvalid = m_options & JSONParseReplaceInvalidUnicode;
    if (++p == m_end)
        return true;
    if (*p++ != 'u') {
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
            return true;
        if (*p != '\\' || (p + 1 < m_end && p[1] != 'u')) {
            if (!replaceInvalid) {
                m_cursor = p;
                recordError(MissingLowSurrogate);
                return failString(p);
            }
            out = putCodePoint(out, ReplacementCharacter);
            return true;
        }
        if (p + 1 == m_end) {
            p = m_end;
            return true;
        }
        p += 2;
        char32_t low;
        if (!readHexQuad(p, low))
            return failString(p);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            codePoint = ((codePoint - 0xD800) << 10) + (low - 0xDC00) + 0x10000;
        } else if (replaceInvalid) {
            // Only the lone high surrogate is replaced: the escape after it is read again on its own, so that
            // a character (or a whole pair) that follows a cut one is kept.
            out = putCodePoint(out, ReplacementCharacter);
            p -= 6;
            return true;
        } else {
            codePoint = 0xD800;
        }
    }
    if (isIllegalCodePoint(codePoint)) {
        if (!replaceInvalid) {
            m_cursor = p;
            recordError(IllegalEscape);
            return failString(p);
        }
        codePoint = ReplacementCharacter;
    }
    out = putCodePoint(out, codePoint);
    return true;
}

char* JSONTokenizer::growDecoded(size_t used, size_t more)
{
    size_t capacity = std::max({ used + more, 2 * m_decodedCapacity, size_t(256) });
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (used)
        std::memcpy(grown.get(), m_decoded.get(), used);
    m_decoded = std::move(grown);
    m_decodedCapacity = capacity;
    return m_decoded.get() + used;
}

bool JSONTokenizer::readHexQuad(const char*& p, char32_t& value)
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

bool JSONTokenizer::failString(const char* at)
{
    m_cursor = at;
    recordError(InvalidString);
    recordError(UnexpectedToken);
    return false;
}

// MARK: Numbers

bool JSONTokenizer::readNumber()
{
    const char* start = m_cursor;
    const char* p = start;
    ScannedNumber scanned;
    scanned.negative = *p == '-';
    if (scanned.negative)
        ++p;
    if (p == m_end || !isDigit(*p))
        return failNumber(p);
    if (*p == '0') {
        scanned.digits = 1;
        ++p;
    } else {
        scanDigits(p, scanned);
    }
    if (p < m_end && *p == '.') {
        if (++p == m_end || !isDigit(*p))
            return failNumber(p);
        int integerDigits = scanned.digits;
        scanDigits(p, scanned);
        scanned.exponent = integerDigits - scanned.digits;
        scanned.hasFractionOrExponent = true;
    }
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        bool negativeExponent = ++p < m_end && *p == '-';
        if (p < m_end && (*p == '+' || *p == '-'))
            ++p;
        if (p == m_end || !isDigit(*p))
            return failNumber(p);
        // Beyond any exact power of ten: the text converts such exponents.
        constexpr int ExponentLimit = 100000;
        int exponent = 0;
        for (; p < m_end && isDigit(*p); ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), ExponentLimit);
        scanned.exponent += negativeExponent ? -exponent : exponent;
        scanned.hasFractionOrExponent = true;
    }
    // A number must be followed by the byte that ends it.
    if (p == m_end)
        return failNumber(p);
    m_cursor = p;
    m_token.end = p;
    JSONNumber number;
    if (!convertScannedNumber(scanned, number) && !convertNumberText(start, p, scanned.hasFractionOrExponent, number))
        return failNumber(p);
    m_token.type = TokenType::Number;
    switch (number.type) {
    case JSONNumber::Type::Double:
        m_token.value.kind = PendingValue::Kind::Real;
        m_token.value.real = std::bit_cast<double>(number.bits);
        break;
    case JSONNumber::Type::UnsignedInteger:
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

void JSONTokenizer::scanDigits(const char*& p, ScannedNumber& scanned) const
{
    const char* first = p;
    for (; p < m_end && isDigit(*p); ++p)
        scanned.mantissa = scanned.mantissa * 10 + static_cast<uint64_t>(*p - '0');
    // Counted up to a bound, so that a run of digits of any length cannot overflow the count or the exponent
    // made from it: past 19 digits the number is converted from its text anyway.
    constexpr std::ptrdiff_t CountedDigits = 1000000;
    scanned.digits += static_cast<int>(std::min(p - first, CountedDigits));
}

bool JSONTokenizer::convertNumberText(
    const char* start, const char* end, bool hasFractionOrExponent, JSONNumber& number)
{
    std::string message;
    if (convertJSONNumber(start, end, hasFractionOrExponent, number, message))
        return true;
    if (!message.empty())
        recordError(message);
    return false;
}

bool JSONTokenizer::failNumber(const char* at)
{
    m_cursor = at;
    m_token.end = at;
    recordError(InvalidNumber);
    return false;
}

} // namespace json
