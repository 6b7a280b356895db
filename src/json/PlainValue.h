// json::isPlain: whether the Value a pending value becomes frees nothing when destroyed: null, bools,
// numbers, and texts, whose Values borrow their storage from the document (see StringReference.h). A decoded
// container whose values are all plain is dropped without destroying them one by one, which ends their
// lifetime as well (the language allows it when nothing depends on what the destructor does), so that
// dropping a document does not read every leaf of it again. A finished container counts as not plain.
//
// isPlainText tells the same of a document's string storage: a text short enough that std::string keeps it
// within itself (15 bytes: the least that the standard libraries keep inline, which an empty string's
// capacity shows; a test checks it) frees nothing.
//
//   array->appendDecoded(key, json::isPlain(pending), ...);
#pragma once

#include "json/JSONPendingValue.h"

#include <cstddef>

namespace json {

inline constexpr size_t InlineTextCapacity = 15;

inline bool isPlainText(size_t length) { return length <= InlineTextCapacity; }

inline bool isPlain(const PendingValue& value)
{
    static_assert(PendingValue::Kind::Null < PendingValue::Kind::MadeArray
        && PendingValue::Kind::MadeArray < PendingValue::Kind::MadeDictionary);
    return value.kind < PendingValue::Kind::MadeArray;
}

} // namespace json
