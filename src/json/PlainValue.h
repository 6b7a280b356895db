// json::isPlainValue: whether destroying a value frees nothing: null, bools, numbers, dates, and texts that
// std::string keeps within itself (a capacity no larger than an empty string's: every standard library
// stores such texts inline). A decoded container whose values are all plain is dropped without destroying
// them one by one, which ends their lifetime as well (the language allows it when nothing depends on what
// the destructor does), so that dropping a document does not read every leaf of it again.
//
//   if (!json::isPlainValue(value)) value.~Value();
#pragma once

#include "base/values/Value.h"

#include <string>

namespace json {

inline bool isPlainValue(const base::Value& value)
{
    static constexpr size_t InlineTextCapacity = std::string().capacity();
    switch (value.kind()) {
    case base::Value::Kind::String:
        return value.string()->capacity() <= InlineTextCapacity;
    case base::Value::Kind::Data:
    case base::Value::Kind::Array:
    case base::Value::Kind::Dictionary:
        return false;
    default:
        return true;
    }
}

} // namespace json
