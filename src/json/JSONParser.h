// json::JSONParser: one parse run over UTF-8 JSON text: the root container and everything in it, built from
// the tokenizer's tokens. It keeps the scratch memory it reuses between runs (the stacks of values read but
// not yet stored, the table of the document's strings). The decoder and the one-call entry points own one each; a
// parser serves one parse at a time on one thread.
#pragma once

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "json/DocumentArena.h"
#include "json/JSONError.h"
#include "json/JSONParseOptions.h"
#include "json/JSONPendingValue.h"
#include "json/JSONTokenizer.h"
#include "json/ScratchStack.h"
#include "json/StringInterner.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace json {

class JSONParser {
public:
    static constexpr size_t MaximumDepth = JSONMaximumDepth;

    // The root array or object, or nothing after recording the first error in `error` (when given).
    [[nodiscard]] std::optional<base::Value> parse(
        ParseOptions options, const char* bytes, size_t length, bool mutableCollections, base::Error* error);

private:
    using TokenType = JSONTokenizer::TokenType;
    // What a container accepts next.
    enum Accept : uint8_t { AcceptValue = 1, AcceptComma = 2, AcceptEnd = 4 };

    struct PendingPair {
        // Left unset, as a PendingValue is.
        PendingPair() { }

        PendingValue key;
        PendingValue object;
        uint32_t keyHash;
    };

    [[nodiscard]] bool parseRoot(base::Value& root);
    // The container opened by the current token, or null after recording why it failed.
    base::ArrayRef parseArray();
    base::DictionaryRef parseObject(bool elementOfArray);
    [[nodiscard]] bool enterContainer();
    // Where a container's share of the parser's scratch memory starts.
    struct ScratchMarks {
        size_t madeArrays;
        size_t madeDictionaries;
        size_t decoded;
    };
    ScratchMarks scratchMarks() const
    {
        return { m_madeArrays.size(), m_madeDictionaries.size(), m_tokens.decodedSize() };
    }
    // Gives back what the container that started at these marks used on the stacks and buffers.
    void leaveContainer(const ScratchMarks& marks);
    static bool isValueToken(TokenType type);

    // Reads the value of the current value token (parsing a nested container) onto the end of `stack`: a
    // pending value of the array stack, or the object of a pending pair whose key the caller then sets.
    template <typename Entry> [[nodiscard]] bool readValue(ScratchStack<Entry>& stack);
    // The same for an array or object token.
    template <typename Entry> [[nodiscard]] bool readContainer(ScratchStack<Entry>& stack);
    static PendingValue& pendingOf(PendingValue& entry) { return entry; }
    static PendingValue& pendingOf(PendingPair& entry) { return entry.object; }
    // Keeps `result` in `made` until its container is made, and has `value` of `kind` refer to it.
    template <typename Made>
    void setMade(PendingValue& value, PendingValue::Kind kind, std::vector<Made>& made, Made result)
    {
        value.length = 0;
        value.kind = kind;
        value.made = made.size();
        made.push_back(std::move(result));
    }
    std::string_view text(const PendingValue& value) const { return m_tokens.text(value); }
    // The document's string for a text: when `shared`, the one shared by every equal text of the document
    // (unless the text is too long to be worth looking up), else one of its own.
    const DocumentString& documentString(std::string_view text, bool shared);
    // Calls construct(arguments...) with the constructor arguments of the pending value's Value; a text is
    // looked up among the document's strings when `shareText`.
    template <typename Construct> void make(PendingValue& value, bool shareText, Construct&& construct);

    void recordExpected(uint8_t accept, const char* valueDescription, const char* endDescription);
    void releaseScratch();

    // The arena of the document being parsed, while it is.
    DocumentArena* m_arena { nullptr };
    JSONTokenizer m_tokens;
    StringInterner m_strings;
    ParseOptions m_options { 0 };
    bool m_mutableCollections { false };
    size_t m_depth { 0 };
    ScratchStack<PendingValue> m_arrayStack;
    ScratchStack<PendingPair> m_objectStack;
    // Finished containers waiting for the container they go in, kept by their own handles, which move into a
    // Value more cheaply than a Value moves.
    std::vector<base::ArrayRef> m_madeArrays;
    std::vector<base::DictionaryRef> m_madeDictionaries;
};

} // namespace json
