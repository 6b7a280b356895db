// json::JSONParser: one parse run over UTF-8 JSON text, with the scratch memory it reuses between runs (the
// stacks of values read but not yet stored, and the buffer for strings with escapes). The decoder and the
// one-call entry points own one each; a parser serves one parse at a time on one thread.
//
// Scalars wait on the stacks as plain records (a string is its bytes in the input or in the buffer) and
// become Values only inside the finished container, so no Value is made twice or moved on the way.
#pragma once

#include "base/Error.h"
#include "base/Value.h"
#include "json/JSONDictionary.h"
#include "json/JSONParseOptions.h"
#include "json/JSONTokenCache.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace json {

class JSONParser {
public:
    // Arrays and objects nested deeper than this fail to parse, so hostile input cannot exhaust the stack.
    static constexpr size_t MaximumDepth = 512;

    // Without a cache, every string and number is made afresh (the one-call entry points: see JSONDecoder.h).
    explicit JSONParser(JSONTokenCache* cache);

    // The root array or object, or nothing after recording the first error in `error` (when given).
    std::optional<base::Value> parse(
        ParseOptions options, const char* bytes, size_t length, bool mutableCollections, base::Error* error);

private:
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
    // What a container accepts next.
    enum Accept : uint8_t { AcceptValue = 1, AcceptComma = 2, AcceptEnd = 4 };

    // A value read but not yet made. Values pass from the token to the stacks with copy(), field by field:
    // the fields were just written one by one, and a wider load of them would stall until those stores
    // complete, which costs more than the copy itself.
    struct PendingValue {
        enum class Kind : uint8_t { InputText, DecodedText, Integer, Unsigned, Real, True, False, Null, Made };
        // The bytes of a text.
        size_t length;
        Kind kind;
        union {
            // InputText: the bytes in the input.
            const char* text;
            // DecodedText: where the bytes start in the decoded-string buffer.
            size_t offset;
            int64_t integer;
            uint64_t unsignedInteger;
            double real;
            // Made: the index of the finished Value (a container, or a value from the cache).
            size_t made;
        };

        static void copy(PendingValue& to, const PendingValue& from)
        {
            to.length = from.length;
            to.kind = from.kind;
            std::memcpy(&to.made, &from.made, sizeof to.made);
        }
    };
    struct PendingPair {
        PendingValue key;
        PendingValue object;
        uint32_t keyHash;
    };

    struct Token {
        TokenType type;
        // The token's text in the input.
        const char* start;
        const char* end;
        // A string's or number's value.
        PendingValue value;
        TokenValueType numberType;
        uint64_t numberBits;
    };

    bool parseRoot(base::Value& root);
    // The container opened by the current token, or null after recording why it failed.
    base::ArrayRef parseArray();
    base::DictionaryRef parseObject();
    bool enterContainer();
    // Reads the value of the current value token (parsing a nested container) into `value`.
    bool readValue(PendingValue& value);
    void setMade(PendingValue& value, base::Value made);
    std::string_view text(const PendingValue& value) const;
    // Calls construct(arguments...) with the constructor arguments of the pending value's Value.
    template <typename Construct> void make(PendingValue& value, Construct&& construct);
    static bool isValueToken(TokenType type);

    bool nextToken();
    void skipWhiteSpace();
    size_t lineBreakLength(const char* p) const;
    void skipComment();
    bool readLiteral(std::string_view literal, TokenType type);
    const char* skipPlainBytes(const char* p) const;
    bool readString();
    bool finishString(const char* closingQuote);
    bool failControlCharacter(const char* at);
    bool readEscapedString(const char* start, const char* p);
    bool readHexQuad(const char*& p, char32_t& value);
    bool failString(const char* at);
    bool readNumber();
    bool failNumber(const char* at);

    void recordError(std::string_view message);
    void recordExpected(uint8_t accept, const char* valueDescription, const char* endDescription);
    void releaseScratch();

    JSONTokenCache* m_cache;
    ParseOptions m_options { 0 };
    bool m_mutableCollections { false };
    const char* m_begin { nullptr };
    const char* m_cursor { nullptr };
    const char* m_end { nullptr };
    size_t m_line { 1 };
    size_t m_depth { 0 };
    Token m_token {};
    // The decoded bytes of strings with escapes; each container gives back what its strings used.
    std::string m_decoded;
    std::vector<PendingValue> m_arrayStack;
    std::vector<PendingPair> m_objectStack;
    std::vector<base::Value> m_made;
    std::optional<std::string> m_errorMessage;
    size_t m_errorIndex { 0 };
    size_t m_errorLine { 0 };
};

} // namespace json
