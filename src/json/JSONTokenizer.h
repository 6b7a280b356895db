// json::JSONTokenizer: reads UTF-8 JSON text one token at a time: white space (with the comment and
// line-break options), punctuation, the three literals, strings and numbers. A string without escapes is
// left in the input; one with escapes (or replaced bad UTF-8) is decoded onto a buffer that the parser gives
// back container by container. It counts lines and keeps the first error of a parse with the byte index and
// line where it was recorded; later errors are dropped. One parse at a time, on one thread.
#pragma once

#include "base/values/Error.h"
#include "json/JSONNumberConversion.h"
#include "json/JSONParseOptions.h"
#include "json/JSONPendingValue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace json {

class JSONTokenizer {
    // Whether a byte is printable ASCII other than the slash: never white space nor the start of a comment.
    static constexpr std::array<bool, 256> PrintableNotSlash = [] {
        std::array<bool, 256> table {};
        for (int byte = '!'; byte < 0x7F; ++byte)
            table[byte] = byte != '/';
        return table;
    }();

public:
    enum class TokenType : uint8_t {
        Number,
        String,
        ObjectBegin,
        ObjectEnd,
        ArrayBegin,
        ArrayEnd,
        Colon,
        Comma,
        True,
        False,
        Null
    };

    struct Token {
        TokenType type;
        // The token's text in the input.
        const char* start;
        const char* end;
        // A string's, a number's or a literal's value.
        PendingValue value;
    };

    void reset(ParseOptions options, const char* bytes, size_t length);

    // Reads the token after any white space; false after recording why there is none.
    [[nodiscard]] bool next();
    const Token& token() const { return m_token; }
    void skipWhiteSpace()
    {
        // Most calls find a token at once: printable ASCII other than the slash cannot be white space.
        if (m_cursor < m_end && PrintableNotSlash[static_cast<uint8_t>(*m_cursor)])
            return;
        skipWhiteSpaceRun();
    }
    // Takes `byte` when it is the very next one, with no white space before it.
    [[nodiscard]] bool skip(char byte)
    {
        if (m_cursor == m_end || *m_cursor != byte)
            return false;
        ++m_cursor;
        return true;
    }
    bool isEmpty() const { return m_begin == m_end; }
    bool hasBytes() const { return m_cursor < m_end; }

    // The bytes of a pending text.
    std::string_view text(const PendingValue& value) const
    {
        if (value.kind == PendingValue::Kind::InputText)
            return { value.text, value.length };
        return { m_decoded.get() + value.offset, value.length };
    }
    size_t decodedSize() const { return m_decodedSize; }
    // Gives back the decoded bytes past `size`, once the strings there are made.
    void truncateDecoded(size_t size) { m_decodedSize = size; }

    // Records `message` at the current byte and line unless the parse already has an error.
    void recordError(std::string_view message);
    bool hasError() const { return m_errorMessage.has_value(); }
    // The recorded error, taken out of the tokenizer.
    [[nodiscard]] std::optional<base::Error> takeError();
    // Ends the parse: forgets the input and releases a large decoded-string buffer.
    void finish();

private:
    size_t lineBreakLength(const char* p) const;
    void skipWhiteSpaceRun();
    void skipComment();
    [[nodiscard]] bool readLiteral(std::string_view literal, TokenType type, PendingValue::Kind kind);
    [[nodiscard]] bool readString();
    [[nodiscard]] bool finishPlainString(const char* start, const char* closingQuote);
    [[nodiscard]] bool readStringFrom(const char* start, const char* p);
    [[nodiscard]] bool readEscapedString(const char* start, const char* p);
    [[nodiscard]] bool readRareSpecialByte(const char*& p, char*& out);
    [[nodiscard]] bool readEscape(const char*& p, char*& out);
    [[nodiscard]] bool readSequence(const char*& p, char*& out);
    [[nodiscard]] bool readControlCharacter(const char*& p, char*& out);
    char* putReplacement(char* out, const char* rest);
    // Makes room for `more` bytes at `out`, a place in the decoded-string buffer, and returns where that
    // place is afterwards (the buffer may move).
    char* decodedRoom(char* out, size_t more)
    {
        auto used = static_cast<size_t>(out - m_decoded.get());
        return m_decodedCapacity - used >= more ? out : growDecoded(used, more);
    }
    char* growDecoded(size_t used, size_t more);
    [[nodiscard]] bool readHexQuad(const char*& p, char32_t& value);
    [[nodiscard]] bool finishString(const char* closingQuote);
    [[nodiscard]] bool failControlCharacter(const char* at);
    [[nodiscard]] bool failString(const char* at);
    [[nodiscard]] bool readNumber();
    // Adds the digits from `p` on to the mantissa and moves `p` past them.
    void scanDigits(const char*& p, ScannedNumber& scanned) const;
    // Converts a number's text when its digits alone do not give it; false after recording why it cannot.
    [[nodiscard]] bool convertNumberText(
        const char* start, const char* end, bool hasFractionOrExponent, JSONNumber& number);
    [[nodiscard]] bool failNumber(const char* at);

    ParseOptions m_options { 0 };
    const char* m_begin { nullptr };
    const char* m_cursor { nullptr };
    const char* m_end { nullptr };
    size_t m_line { 1 };
    Token m_token {};
    // The decoded bytes of strings with escapes: the first m_decodedSize bytes of the buffer are in use.
    // A plain buffer written through a pointer: appending byte by byte to a std::string costs a call each.
    std::unique_ptr<char[]> m_decoded;
    size_t m_decodedSize { 0 };
    size_t m_decodedCapacity { 0 };
    std::optional<std::string> m_errorMessage;
    size_t m_errorIndex { 0 };
    size_t m_errorLine { 0 };
};

} // namespace json
