// json::JSONDecoder and the one-call entry points: UTF-8 JSON text to a tree of values. The root must be an
// array or an object; arrays come back as JSONArray, objects as JSONDictionary (mutable only from the
// mutable entry points), strings, numbers (signed 64-bit integers, unsigned ones above the signed range,
// doubles), booleans and null. Arrays and objects nest at most 512 deep. Any failure gives nothing, with the
// first error in the out-slot when one is given. The arrays and objects of one document share the memory
// they were made in (see DocumentArena.h): an array or object kept after the rest of its document is
// dropped keeps that memory, so copy a small part out of a large document that is kept for long. Equal
// strings of one document, keys and values alike, share one immutable storage kept with that memory; a
// string value copied out keeps it too.
//
// A JSONDecoder keeps its scratch memory across parses and serves one parse at a time on one thread. The
// one-call entry points may be called from any thread at once and share nothing between calls. A decoded
// document may be handed to other threads, which may read, copy and drop its values at once.
//
//   auto reply = json::objectFromJSONString(body);
//   if (!reply || !reply->isDictionary()) return fail();
//   const base::Value* d = reply->dictionary()->objectForKey("d");
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"
#include "json/JSONParseOptions.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

namespace json {

class JSONParser;

class JSONDecoder {
public:
    // Raises InvalidArgumentException "Invalid parse options." for a bit outside JSONParseValidFlags.
    explicit JSONDecoder(ParseOptions options = JSONParseStrict);
    ~JSONDecoder();
    JSONDecoder(const JSONDecoder&) = delete;
    JSONDecoder& operator=(const JSONDecoder&) = delete;

    // Parse with immutable collections. A null `string` raises InvalidArgumentException.
    std::optional<base::Value> objectWithUTF8String(const char* string, size_t length, base::Error* error = nullptr);
    [[nodiscard]] std::optional<base::Value> objectWithData(const base::Data& data, base::Error* error = nullptr);
    // Parse with mutable collections.
    std::optional<base::Value> mutableObjectWithUTF8String(
        const char* string, size_t length, base::Error* error = nullptr);
    [[nodiscard]] std::optional<base::Value> mutableObjectWithData(
        const base::Data& data, base::Error* error = nullptr);

    // Releases the scratch memory kept between parses.
    void clearCache();

private:
    [[nodiscard]] std::optional<base::Value> parse(
        const char* bytes, size_t length, bool mutableCollections, base::Error* error);

    ParseOptions m_options;
    std::unique_ptr<JSONParser> m_parser;
};

// Text that is not well-formed UTF-8 fails with "An error occurred converting the contents of a NSString to
// UTF8." before any parsing.
[[nodiscard]] std::optional<base::Value> objectFromJSONString(
    std::string_view text, ParseOptions options = JSONParseStrict, base::Error* error = nullptr);
[[nodiscard]] std::optional<base::Value> mutableObjectFromJSONString(
    std::string_view text, ParseOptions options = JSONParseStrict, base::Error* error = nullptr);
[[nodiscard]] std::optional<base::Value> objectFromJSONData(
    const base::Data& data, ParseOptions options = JSONParseStrict, base::Error* error = nullptr);
[[nodiscard]] std::optional<base::Value> mutableObjectFromJSONData(
    const base::Data& data, ParseOptions options = JSONParseStrict, base::Error* error = nullptr);

} // namespace json
