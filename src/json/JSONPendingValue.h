// json::PendingValue: a value the decoder has read but not yet made into a base::Value. Scalars wait on the
// parser's stacks in this plain form (a string is its bytes, in the input or in the tokenizer's buffer) and
// become Values only inside their finished container, so that no Value is made twice or moved on the way.
//
// Pending values pass from the token to the stacks with copy(), field by field: the fields were just written
// one by one, and a wider load of them would stall until those stores complete, which costs more than the
// copy itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace json {

struct PendingValue {
    // The made kinds come last (PlainValue.h relies on it).
    enum class Kind : uint8_t {
        InputText,
        DecodedText,
        Integer,
        Unsigned,
        Real,
        True,
        False,
        Null,
        MadeArray,
        MadeDictionary
    };

    // The bytes of a text.
    size_t length;
    Kind kind;
    union {
        // InputText: the bytes in the input.
        const char* text;
        // DecodedText: where the bytes start in the tokenizer's decoded-string buffer.
        size_t offset;
        int64_t integer;
        uint64_t unsignedInteger;
        double real;
        // MadeArray, MadeDictionary: the index of the parser's finished container.
        size_t made;
    };

    // Left unset: every field is written before it is read, and the stacks grow by one at every value.
    PendingValue() { }

    static void copy(PendingValue& to, const PendingValue& from)
    {
        to.length = from.length;
        to.kind = from.kind;
        std::memcpy(&to.made, &from.made, sizeof to.made);
    }
};

} // namespace json
