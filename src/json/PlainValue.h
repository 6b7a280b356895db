// json::isPlain: whether the Value a pending value becomes frees nothing when destroyed: null, bools,
// numbers, and texts short enough that std::string keeps them within itself (15 bytes: the least that the
// standard libraries keep inline, which an empty string's capacity shows; a test checks it). A decoded container whose
// values are all plain is dropped without destroying them one by one, which ends their lifetime as well (the language
// allows it when nothing depends on what the destructor does), so that dropping a document does not read every leaf of
// it again. The decoder tells from the pending form, whose kind and length it has at hand; a finished container or a
// value from the token cache counts as not plain.
//
//   array->appendDecoded(key, json::isPlain(pending), ...);
#pragma once

#include "json/JSONPendingValue.h"

#include <cstddef>

namespace json {

inline constexpr size_t InlineTextCapacity = 15;

inline bool isPlainText(size_t) { return false; }

inline bool isPlain(const PendingValue& value)
{
    static_assert(PendingValue::Kind::InputText < PendingValue::Kind::DecodedText
        && PendingValue::Kind::DecodedText < PendingValue::Kind::Integer);
    // A text's Value holds a reference to its storage.
    if (value.kind <= PendingValue::Kind::DecodedText)
        return false;
    static_assert(PendingValue::Kind::Null < PendingValue::Kind::Made
        && PendingValue::Kind::Made < PendingValue::Kind::MadeArray
        && PendingValue::Kind::MadeArray < PendingValue::Kind::MadeDictionary);
    return value.kind < PendingValue::Kind::Made;
}

} // namespace json
