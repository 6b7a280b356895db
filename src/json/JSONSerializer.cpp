#include "json/JSONSerializer.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONError.h"
#include "json/StringScan.h"
#include "json/UTF8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace json {

namespace {

    // Room for a usual request body, small enough for the allocator's fast per-thread cache; a longer text
    // grows by doubling.
    constexpr size_t InitialOutputCapacity = 1000;
    const char* const KeyMustBeString = "Key must be a string object.";

    std::string className(const base::Value& value)
    {
        switch (value.kind()) {
        case base::Value::Kind::Null:
            return "Null";
        case base::Value::Kind::Bool:
        case base::Value::Kind::Integer:
        case base::Value::Kind::Unsigned:
        case base::Value::Kind::Double:
            return "Number";
        case base::Value::Kind::String:
            return "String";
        case base::Value::Kind::Data:
            return "Data";
        case base::Value::Kind::Date:
            return "Date";
        case base::Value::Kind::Array:
            return value.array()->className();
        case base::Value::Kind::Dictionary:
            return value.dictionary()->className();
        }
        return "Unknown";
    }

    bool isSupported(const base::Value& value) { return !value.isData() && !value.isDate(); }

    // The most bytes one sequence of a string takes when written: twelve, for a sequence of four bytes escaped
    // as a surrogate pair.
    constexpr size_t MaximumEscapeBytes = 12;

    // "\\u" and four hexadecimal digits at `out`; the byte after them.
    char* writeHexQuad(unsigned value, char* out)
    {
        static const char digits[] = "0123456789abcdef";
        out[0] = '\\';
        out[1] = 'u';
        out[2] = digits[(value >> 12) & 0xF];
        out[3] = digits[(value >> 8) & 0xF];
        out[4] = digits[(value >> 4) & 0xF];
        out[5] = digits[value & 0xF];
        return out + 6;
    }

    // A code point as one \\u escape, or two (a surrogate pair) above U+FFFF; the byte after them.
    char* writeEscapedCodePoint(char32_t codePoint, char* out)
    {
        if (codePoint < 0x10000)
            return writeHexQuad(codePoint, out);
        out = writeHexQuad((codePoint >> 10) + 0xD7C0, out);
        return writeHexQuad((codePoint & 0x3FF) | 0xDC00, out);
    }

    // The letter after the backslash for the special bytes that have a two-byte escape (the slash has one when
    // it is special), by byte; 0 for the others, written as \\u escapes. A table rather than a switch, since a
    // string with embedded JSON escapes a quote every few bytes.
    constexpr std::array<char, 128> TwoByteEscapes = [] {
        std::array<char, 128> letters {};
        letters['\b'] = 'b';
        letters['\t'] = 't';
        letters['\n'] = 'n';
        letters['\f'] = 'f';
        letters['\r'] = 'r';
        letters['"'] = '"';
        letters['\\'] = '\\';
        letters['/'] = '/';
        return letters;
    }();

    template <typename Integer> void appendInteger(std::string& out, Integer value)
    {
        char text[24];
        auto end = std::to_chars(text, text + sizeof text, value).ptr;
        out.append(text, static_cast<size_t>(end - text));
    }

    // Copied as bytes in one block (a range of chars would be converted one byte at a time).
    base::Data toData(const std::string& text)
    {
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
        return base::Data(bytes, bytes + text.size());
    }

} // namespace

JSONSerializer::JSONSerializer(SerializeOptions options, const UnsupportedValueFormatter& formatter)
    : m_options(options)
    , m_formatter(formatter)
{
    m_output.reserve(InitialOutputCapacity);
}

std::optional<std::string> JSONSerializer::serializeObject(
    const base::Value& object, SerializeOptions options, const UnsupportedValueFormatter& formatter, base::Error* error)
{
    JSONSerializer serializer(options, formatter);
    bool written;
    if (!object.isArray() && !object.isDictionary())
        written = serializer.fail(
            "Unable to serialize object class " + className(object) + ", expected a NSArray or NSDictionary.");
    else
        written = serializer.writeValue(object);
    return serializer.result(written, error);
}

std::optional<std::string> JSONSerializer::serializeString(
    std::string_view string, SerializeOptions options, bool includeQuotes, base::Error* error)
{
    UnsupportedValueFormatter none;
    JSONSerializer serializer(options, none);
    bool written = serializer.writeString(string, includeQuotes);
    return serializer.result(written, error);
}

std::optional<std::string> JSONSerializer::result(bool written, base::Error* error)
{
    if (!written) {
        if (m_error)
            base::setError(error, makeJSONError(std::move(*m_error)));
        return std::nullopt;
    }
    return std::move(m_output);
}

bool JSONSerializer::fail(std::string message)
{
    if (!m_error)
        m_error = std::move(message);
    return false;
}

bool JSONSerializer::writeValue(const base::Value& value)
{
    switch (value.kind()) {
    case base::Value::Kind::Null:
        m_output += "null";
        return true;
    case base::Value::Kind::Bool:
        m_output += *value.boolean() ? "true" : "false";
        return true;
    case base::Value::Kind::Integer:
        appendInteger(m_output, *value.integer());
        return true;
    case base::Value::Kind::Unsigned:
        appendInteger(m_output, *value.unsignedInteger());
        return true;
    case base::Value::Kind::Double:
        return writeDouble(*value.real());
    case base::Value::Kind::String:
        return writeString(*value.string(), true);
    case base::Value::Kind::Array:
        return writeArray(*value.array());
    case base::Value::Kind::Dictionary:
        return writeDictionary(*value.dictionary());
    case base::Value::Kind::Data:
    case base::Value::Kind::Date:
        return writeUnsupported(value);
    }
    return false;
}

bool JSONSerializer::writeUnsupported(const base::Value& original)
{
    std::optional<base::Value> replacement;
    if (m_formatter)
        replacement = m_formatter(original);
    if (!replacement)
        return fail("Unable to serialize object class " + className(original) + ".");
    if (!isSupported(*replacement))
        return fail("Unable to serialize object class " + className(*replacement)
            + " that was returned by the unsupported class formatter.  Original object class was " + className(original)
            + ".");
    return writeValue(*replacement);
}

bool JSONSerializer::writeDouble(double value)
{
    if (!std::isfinite(value))
        return fail("Floating point values must be finite.  JSON does not support NaN or Infinity.");
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
    m_output.append(text, static_cast<size_t>(end - text));
    return true;
}

bool JSONSerializer::writeArray(const base::Array& array)
{
    if (!openContainer('['))
        return false;
    bool first = true;
    for (const base::Value& element : array) {
        if (!first)
            writeComma();
        first = false;
        if (!writeValue(element))
            return false;
    }
    closeContainer(']');
    return true;
}

bool JSONSerializer::writeDictionary(const base::Dictionary& dictionary)
{
    if (m_options & JSONSerializePretty)
        return writeSortedDictionary(dictionary);
    return writePairs(dictionary);
}

bool JSONSerializer::writeSortedDictionary(const base::Dictionary& dictionary)
{
    using Pair = std::pair<const base::Value*, const base::Value*>;
    std::vector<Pair> pairs;
    pairs.reserve(dictionary.count());
    for (Pair pair : dictionary) {
        if (!pair.first->isString())
            return fail(KeyMustBeString);
        pairs.push_back(pair);
    }
    std::sort(pairs.begin(), pairs.end(),
        [](const Pair& a, const Pair& b) { return *a.first->string() < *b.first->string(); });
    return writePairs(pairs);
}

template <typename Pairs> bool JSONSerializer::writePairs(const Pairs& pairs)
{
    if (!openContainer('{'))
        return false;
    bool first = true;
    for (auto [key, value] : pairs) {
        if (!first)
            writeComma();
        first = false;
        if (!writePair(*key, *value))
            return false;
    }
    closeContainer('}');
    return true;
}

bool JSONSerializer::writePair(const base::Value& key, const base::Value& value)
{
    const std::string* text = key.string();
    if (!text)
        return fail(KeyMustBeString);
    if (!writeString(*text, true))
        return false;
    m_output += (m_options & JSONSerializePretty) ? ": " : ":";
    return writeValue(value);
}

bool JSONSerializer::writeString(std::string_view string, bool includeQuotes)
{
    // The text is written through a pointer into room made beforehand: room for the string as it is and the
    // quotes, made larger when an escape needs it, and cut to what was written at the end.
    size_t start = m_output.size();
    m_output.resize(start + string.size() + 2);
    char* out = m_output.data() + start;
    if (includeQuotes)
        *out++ = '"';
    const char* failure = nullptr;
    out = (m_options & JSONSerializeEscapeSlash) ? writeStringContents<true>(string, out, failure)
                                                 : writeStringContents<false>(string, out, failure);
    if (failure) {
        m_output.resize(start);
        return fail(failure);
    }
    if (includeQuotes)
        *out++ = '"';
    m_output.resize(static_cast<size_t>(out - m_output.data()));
    return true;
}

char* JSONSerializer::makeRoom(char* out, size_t bytes)
{
    auto used = static_cast<size_t>(out - m_output.data());
    if (m_output.size() - used < bytes)
        m_output.resize(std::max(2 * m_output.size(), used + bytes));
    return m_output.data() + used;
}

template <bool slashIsSpecial>
char* JSONSerializer::writeStringContents(std::string_view string, char* out, const char*& failure)
{
    const bool escapeNonASCII = m_options & JSONSerializeEscapeNonASCII;
    const char* p = string.data();
    const char* end = p + string.size();
    // The special bytes found by the last scan of sixteen, from the one at `p` on (see copyToSpecialByte).
    unsigned known = 0;
    for (;;) {
        if constexpr (slashIsSpecial) {
            const char* run = p;
            p = findSpecialByte<true>(p, end);
            std::memcpy(out, run, static_cast<size_t>(p - run));
            out += p - run;
        } else
            copyToSpecialByte(p, end, out, known);
        if (p == end)
            return out;
        // Room for the longest escape of one sequence, the rest of the string and the closing quote.
        out = makeRoom(out, MaximumEscapeBytes + static_cast<size_t>(end - p) + 1);
        auto byte = static_cast<uint8_t>(*p);
        size_t length = 1;
        if (byte >= 0x80) {
            auto bytes = reinterpret_cast<const uint8_t*>(p);
            auto bytesEnd = reinterpret_cast<const uint8_t*>(end);
            if (!escapeNonASCII) {
                // Text in another script is mostly one run of the commonest sequences, copied at once.
                const char* run = skipCommonSequences(p, end);
                if (run != p) {
                    std::memcpy(out, p, static_cast<size_t>(run - p));
                    out += run - p;
                    p = run;
                    known = 0;
                    continue;
                }
            }
            length = wellFormedSequenceLength(bytes, bytesEnd);
            if (!length) {
                failure = "An error occurred converting the contents of a NSString to UTF8.";
                return out;
            }
            if (escapeNonASCII) {
                UTF8Sequence sequence = decodeUTF8Sequence(bytes, bytesEnd);
                if (sequence.status != UTF8Status::WellFormed) {
                    failure = "Error converting UTF8.";
                    return out;
                }
                out = writeEscapedCodePoint(sequence.codePoint, out);
            } else {
                std::memcpy(out, p, length);
                out += length;
            }
        } else if (char letter = TwoByteEscapes[byte]) {
            out[0] = '\\';
            out[1] = letter;
            out += 2;
        } else
            out = writeHexQuad(byte, out);
        p += length;
        known >>= length;
    }
}

void JSONSerializer::writeIndentedLineBreak()
{
    m_output.push_back('\n');
    m_output.append(2 * m_depth, ' ');
}

bool JSONSerializer::openContainer(char bracket)
{
    if (++m_depth > JSONMaximumDepth)
        return fail(JSONTooDeepMessage);
    m_output.push_back(bracket);
    if (m_options & JSONSerializePretty)
        writeIndentedLineBreak();
    return true;
}

void JSONSerializer::writeComma()
{
    m_output.push_back(',');
    if (m_options & JSONSerializePretty)
        writeIndentedLineBreak();
}

void JSONSerializer::closeContainer(char bracket)
{
    --m_depth;
    if (m_options & JSONSerializePretty)
        writeIndentedLineBreak();
    m_output.push_back(bracket);
}

std::optional<base::Data> JSONData(
    const base::Value& object, SerializeOptions options, const UnsupportedValueFormatter& formatter, base::Error* error)
{
    auto text = JSONSerializer::serializeObject(object, options, formatter, error);
    if (!text)
        return std::nullopt;
    return toData(*text);
}

std::optional<std::string> JSONString(
    const base::Value& object, SerializeOptions options, const UnsupportedValueFormatter& formatter, base::Error* error)
{
    return JSONSerializer::serializeObject(object, options, formatter, error);
}

std::optional<base::Data> JSONDataOfString(
    std::string_view string, SerializeOptions options, bool includeQuotes, base::Error* error)
{
    auto text = JSONSerializer::serializeString(string, options, includeQuotes, error);
    if (!text)
        return std::nullopt;
    return toData(*text);
}

std::optional<std::string> JSONStringOfString(
    std::string_view string, SerializeOptions options, bool includeQuotes, base::Error* error)
{
    return JSONSerializer::serializeString(string, options, includeQuotes, error);
}

} // namespace json
