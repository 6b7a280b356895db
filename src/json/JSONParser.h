// json::JSONParser: one parse run over UTF-8 JSON text, with the scratch memory it reuses between runs (the
// object stacks and the buffer for strings with escapes). The decoder and the one-call entry points own one
// each; a parser serves one parse at a time on one thread.
#pragma once

#include "base/Error.h"
#include "base/Value.h"
#include "json/JSONDictionary.h"
#include "json/JSONParseOptions.h"
#include "json/JSONTokenCache.h"

#include <cstddef>
#include <cstdint>
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

    struct Token {
        TokenType type;
        // The token's text in the input.
        const char* start;
        const char* end;
        // A string's decoded bytes: in the input, or in the token buffer when it had escapes.
        const char* text;
        size_t textLength;
        TokenValueType numberType;
        uint64_t numberBits;
    };

    bool parseRoot(base::Value& root);
    // The container opened by the current token, or null after recording why it failed.
    base::ArrayRef parseArray();
    base::DictionaryRef parseObject();
    bool enterContainer();
    template <typename Emit> bool emitValue(Emit&& emit);
    static bool isValueToken(TokenType type);

    bool nextToken();
    void skipWhiteSpace();
    size_t lineBreakLength(const char* p) const;
    void skipComment();
    bool readLiteral(std::string_view literal, TokenType type);
    const char* skipPlainBytes(const char* p) const;
    bool readString();
    bool finishString(const char* text, size_t length, const char* closingQuote);
    bool failControlCharacter(const char* at);
    bool readEscapedString(const char* start, const char* p);
    bool readHexQuad(const char*& p, char32_t& value);
    bool failString(const char* at);
    bool readNumber();
    bool failNumber(const char* at);

    // The value of the current string token, used as a key; `hash` is its value hash.
    base::Value keyValue(uint64_t hash) const;

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
    std::string m_tokenBuffer;
    std::vector<base::Value> m_arrayStack;
    std::vector<JSONDictionary::DecodedPair> m_objectStack;
    std::optional<std::string> m_errorMessage;
    size_t m_errorIndex { 0 };
    size_t m_errorLine { 0 };
};

} // namespace json
