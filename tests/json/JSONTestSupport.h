// Helpers shared by the JSON tests: decode and read back the error's message, index and line.
#pragma once

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/values/Error.h"
#include "json/JSONDecoder.h"
#include "json/JSONError.h"

#include <string>
#include <string_view>

namespace jsontest {

struct DecodeFailure {
    std::string message;
    unsigned long long index { 0 };
    unsigned long long line { 0 };
    bool decoded { false };
};

inline DecodeFailure decodeFailure(std::string_view text, json::ParseOptions options = json::JSONParseStrict)
{
    base::Error error;
    DecodeFailure failure;
    failure.decoded = json::objectFromJSONData(base::Data(text.begin(), text.end()), options, &error).has_value();
    failure.message = error.localizedDescription();
    if (const base::Value* index = error.userInfoValue(json::JSONAtIndexKey))
        failure.index = index->unsignedLongLongValue();
    if (const base::Value* line = error.userInfoValue(json::JSONLineNumberKey))
        failure.line = line->unsignedLongLongValue();
    return failure;
}

inline std::string errorMessage(std::string_view text, json::ParseOptions options = json::JSONParseStrict)
{
    DecodeFailure failure = decodeFailure(text, options);
    return failure.decoded ? "<decoded>" : failure.message;
}

// The single element of a decoded one-element array.
inline base::Value element(std::string_view text, json::ParseOptions options = json::JSONParseStrict)
{
    auto root = json::objectFromJSONData(base::Data(text.begin(), text.end()), options);
    if (!root || !root->isArray() || root->array()->count() != 1)
        return base::Value("<not a one-element array>");
    return root->array()->objectAtIndex(0);
}

} // namespace jsontest
