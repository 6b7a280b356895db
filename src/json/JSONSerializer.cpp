#include "json/JSONSerializer.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/JSONError.h"
#include "json/StringScan.h"
#include "json/UTF8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

    void appendHexQuad(std::string& out, unsigned value)
    {
        static const char digits[] = "0123456789abcdef";
        char text[] = { '\\', 'u', digits[(value >> 12) & 0xF], digits[(value >> 8) & 0xF], digits[(value >> 4) & 0xF],
            digits[value & 0xF] };
        out.append(text, sizeof text);
    }

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
    const bool escapeNonASCII = m_options & JSONSerializeEscapeNonASCII;
    if (includeQuotes)
        m_output.push_back('"');
    const char* p = string.data();
    const char* end = p + string.size();
    for (;;) {
        const char* run = p;
        p = (m_options & JSONSerializeEscapeSlash) ? findSpecialByte<true>(p, end) : findSpecialByte<false>(p, end);
        m_output.append(run, static_cast<size_t>(p - run));
        if (p == end)
            break;
        auto byte = static_cast<uint8_t>(*p);
        if (byte >= 0x80) {
            auto bytes = reinterpret_cast<const uint8_t*>(p);
            auto bytesEnd = reinterpret_cast<const uint8_t*>(end);
            size_t length = wellFormedSequenceLength(bytes, bytesEnd);
            if (!length)
                return fail("An error occurred converting the contents of a NSString to UTF8.");
            if (escapeNonASCII) {
                UTF8Sequence sequence = decodeUTF8Sequence(bytes, bytesEnd);
                if (sequence.status != UTF8Status::WellFormed)
                    return fail("Error converting UTF8.");
                writeEscapedCodePoint(sequence.codePoint);
            } else {
                m_output.append(p, length);
            }
            p += length;
            continue;
        }
        switch (byte) {
        case '\b':
            m_output += "\\b";
            break;
        case '\t':
            m_output += "\\t";
            break;
        case '\n':
            m_output += "\\n";
            break;
        case '\f':
            m_output += "\\f";
            break;
        case '\r':
            m_output += "\\r";
            break;
        case '"':
        case '\\':
        case '/':
            m_output.push_back('\\');
            m_output.push_back(static_cast<char>(byte));
            break;
        default:
            appendHexQuad(m_output, byte);
            break;
        }
        ++p;
    }
    if (includeQuotes)
        m_output.push_back('"');
    return true;
}

void JSONSerializer::writeEscapedCodePoint(char32_t codePoint)
{
    if (codePoint < 0x10000) {
        appendHexQuad(m_output, codePoint);
        return;
    }
    appendHexQuad(m_output, (codePoint >> 10) + 0xD7C0);
    appendHexQuad(m_output, (codePoint & 0x3FF) | 0xDC00);
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
