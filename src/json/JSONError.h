// The JSON codec's error reports: domain "JSONErrorDomain", code -1, the message as the localized description
// and, for decoding failures, the byte index and line number reached.
//
//   base::Error error;
//   if (!json::objectFromJSONString(text, 0, &error)) base::log(error.localizedDescription());
//   auto line = error.userInfoValue(json::JSONLineNumberKey)->unsignedLongLongValue();
#pragma once

#include "base/values/Error.h"

#include <cstddef>
#include <string>

namespace json {

inline constexpr const char* JSONErrorDomain = "JSONErrorDomain";
inline constexpr long JSONErrorCode = -1;
inline constexpr const char* JSONAtIndexKey = "JSONAtIndexKey";
inline constexpr const char* JSONLineNumberKey = "JSONLineNumberKey";

// Arrays and objects nested deeper than this are refused by the decoder and the encoder alike, so neither
// hostile text nor a value built in code can exhaust the stack.
inline constexpr size_t JSONMaximumDepth = 512;
inline constexpr const char* JSONTooDeepMessage = "Arrays and objects are nested more than 512 levels deep.";

// An error whose only user-info entry is its description.
base::Error makeJSONError(std::string message);
// A decoding error: description, byte index and line number.
base::Error makeJSONError(std::string message, size_t index, size_t line);

} // namespace json
