// json::JSONSerializer and its entry points: values to UTF-8 JSON text, compact or pretty. Arrays and
// dictionaries are written with their contents; strings, numbers (doubles with 17 significant digits),
// booleans and null as JSON scalars. Values JSON cannot hold (data, dates) go to the caller's formatter, whose
// replacement is written in their place. Arrays and dictionaries nested deeper than the decoder accepts are
// refused. Any failure gives nothing, with the first error in the out-slot when one is given. Every call is
// independent: callable from any thread at once.
//
// This is also the platform's JSON writer for request bodies: options 0, the null value written as null.
//
//   auto body = json::JSONData(base::Value(parameters));
//   auto text = json::JSONString(value, json::JSONSerializePretty);
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace json {

using SerializeOptions = uint64_t;

inline constexpr SerializeOptions JSONSerializeOptionNone = 0;
// Line breaks, two-space indentation and dictionary keys in sorted order.
inline constexpr SerializeOptions JSONSerializePretty = 1;
// Every non-ASCII character written as \u escapes (surrogate pairs above U+FFFF).
inline constexpr SerializeOptions JSONSerializeEscapeNonASCII = 2;
// The slash written as "\/".
inline constexpr SerializeOptions JSONSerializeEscapeSlash = 16;

// Given a value the encoder cannot write, returns its replacement, or nothing to fail.
using UnsupportedValueFormatter = std::function<std::optional<base::Value>(const base::Value&)>;

class JSONSerializer {
public:
    // The text of an array or dictionary.
    [[nodiscard]] static std::optional<std::string> serializeObject(const base::Value& object, SerializeOptions options,
        const UnsupportedValueFormatter& formatter, base::Error* error);
    // The text of a string, with or without the surrounding quotes.
    [[nodiscard]] static std::optional<std::string> serializeString(
        std::string_view string, SerializeOptions options, bool includeQuotes, base::Error* error);

private:
    JSONSerializer(SerializeOptions options, const UnsupportedValueFormatter& formatter);

    // The writers of the tree take the pretty option as an argument of their template, so that the commas,
    // colons and containers of compact text are written without testing it.
    template <bool pretty> [[nodiscard]] bool writeValue(const base::Value& value);
    template <bool pretty> [[nodiscard]] bool writeUnsupported(const base::Value& original);
    template <bool pretty> [[nodiscard]] bool writeArray(const base::Array& array);
    // Writes an array of the values in the range's order.
    template <bool pretty, typename Elements> [[nodiscard]] bool writeElements(const Elements& elements);
    template <bool pretty> [[nodiscard]] bool writeDictionary(const base::Dictionary& dictionary);
    [[nodiscard]] bool writeSortedDictionary(const base::Dictionary& dictionary);
    // Writes an object of (key, value) pointer pairs in the range's order.
    template <bool pretty, typename Pairs> [[nodiscard]] bool writePairs(const Pairs& pairs);
    template <bool pretty> [[nodiscard]] bool writePair(const base::Value& key, const base::Value& value);
    // Leaves room for a block of sixteen bytes after the string.
    [[nodiscard]] bool writeString(std::string_view string, bool includeQuotes);
    template <bool slashIsSpecial> [[nodiscard]] bool writeStringEscaping(std::string_view string, bool includeQuotes);
    [[nodiscard]] bool writeDouble(double value);
    template <typename Integer> void writeInteger(Integer value);
    void writeBytes(const char* bytes, size_t count);
    // Fails past the decoder's nesting limit, so a value nested too deep is refused before it exhausts the stack.
    template <bool pretty> [[nodiscard]] bool openContainer(char bracket);
    template <bool pretty> void writeComma();
    template <bool pretty> void closeContainer(char bracket);
    void writeIndentedLineBreak();
    // The end of the text written, with room for `bytes` bytes after it.
    char* room(size_t bytes);
    // `out`, a place in the room, where it is after making room for `bytes` bytes from it.
    char* makeRoom(char* out, size_t bytes);
    // makeRoom when the room is too small: a larger output, and `out` and the end of the text moved to it.
    char* growRoom(char* out, size_t bytes);
    [[nodiscard]] bool fail(std::string message);
    [[nodiscard]] std::optional<std::string> result(bool written, base::Error* error);

    SerializeOptions m_options;
    const UnsupportedValueFormatter& m_formatter;
    // The text written, then room to write more: sized ahead and written through m_end, so that no write
    // fills room with zeros first; cut to the text at the end.
    std::string m_output;
    char* m_end;
    char* m_roomEnd;
    // Containers open around the value being written: the nesting checked and the pretty indentation.
    size_t m_depth { 0 };
    std::optional<std::string> m_error;
};

// An array or dictionary as JSON data or text.
[[nodiscard]] std::optional<base::Data> JSONData(const base::Value& object,
    SerializeOptions options = JSONSerializeOptionNone, const UnsupportedValueFormatter& formatter = {},
    base::Error* error = nullptr);
[[nodiscard]] std::optional<std::string> JSONString(const base::Value& object,
    SerializeOptions options = JSONSerializeOptionNone, const UnsupportedValueFormatter& formatter = {},
    base::Error* error = nullptr);
// A string as a JSON string literal (or its contents only, without quotes).
[[nodiscard]] std::optional<base::Data> JSONDataOfString(std::string_view string,
    SerializeOptions options = JSONSerializeOptionNone, bool includeQuotes = true, base::Error* error = nullptr);
[[nodiscard]] std::optional<std::string> JSONStringOfString(std::string_view string,
    SerializeOptions options = JSONSerializeOptionNone, bool includeQuotes = true, base::Error* error = nullptr);

} // namespace json
