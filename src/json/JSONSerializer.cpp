#include "json/JSONSerializer.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "json/DoubleText.h"
#include "json/JSONError.h"
#include "json/StringScan.h"
#include "json/UTF8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace json {

namespace {

    // Room for a usual request body, small enough for the allocator's fast per-thread cache; a longer text
    // grows by doubling.
    constexpr size_t InitialOutputCapacity = 1000;
    // Room made beyond what is asked for when the room runs out. Room is zero-filled as it is made, and a fill
    // this small takes a few wide stores, where a fill of a few kilobytes goes a byte at a time.
    constexpr size_t RoomStep = 1024;
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

    // Bytes of a string scanned and copied at once.
    constexpr size_t BlockBytes = 16;
    // Bytes of a string that room is made for at once: a long string takes room in steps (see growRoom).
    constexpr size_t ChunkBytes = 512;

#if defined(__SSE2__)
    // The `count` bytes at `p` (0 to 15) followed by zeros, read in at most two loads of each width without
    // reading a byte past them.
    [[gnu::always_inline]] inline __m128i loadPartialBlock(const char* p, size_t count)
    {
        uint64_t low = 0;
        uint64_t high = 0;
        if (count > 8) {
            std::memcpy(&low, p, 8);
            std::memcpy(&high, p + count - 8, 8);
            high >>= 8 * (16 - count);
        } else if (count >= 4) {
            uint32_t first;
            uint32_t last;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + count - 4, 4);
            low = first | static_cast<uint64_t>(last) << 8 * (count - 4);
        } else if (count > 0) {
            auto byte
                = [p](size_t index) { return static_cast<uint64_t>(static_cast<uint8_t>(p[index])) << 8 * index; };
            low = byte(0) | byte(count / 2) | byte(count - 1);
        }
        return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
    }
#endif

    // Copies the `count` bytes at `p` (0 to 16) to `out`, which has room for sixteen, and returns a bit for
    // each special byte among them (see findSpecialByte).
    template <bool slashIsSpecial>
    [[gnu::always_inline]] inline unsigned copyBlock(const char* p, size_t count, char* out)
    {
#if defined(__SSE2__)
        if (count == BlockBytes) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
            return detail::specialMask<slashIsSpecial>(bytes);
        }
        __m128i bytes = loadPartialBlock(p, count);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
        return detail::specialMask<slashIsSpecial>(bytes) & ((1u << count) - 1);
#else
        std::memcpy(out, p, count);
        unsigned special = 0;
        for (size_t i = 0; i < count; ++i)
            special |= unsigned { detail::isSpecialByte(static_cast<uint8_t>(p[i]), slashIsSpecial) } << i;
        return special;
#endif
    }

    // The objects of an array that refuses changes, read by index: the base iterator's check for a change at
    // every step is needed only by an array that takes changes.
    class UnchangingElements {
    public:
        explicit UnchangingElements(const base::Array& array)
            : m_array(array)
            , m_count(array.count())
        {
        }
        struct End { };
        class Iterator {
        public:
            explicit Iterator(const UnchangingElements& elements)
                : m_elements(elements)
            {
            }
            const base::Value& operator*() const { return m_elements.m_array.objectAtIndex(m_index); }
            Iterator& operator++()
            {
                ++m_index;
                return *this;
            }
            bool operator==(End) const { return m_index == m_elements.m_count; }

        private:
            const UnchangingElements& m_elements;
            size_t m_index { 0 };
        };
        Iterator begin() const { return Iterator(*this); }
        End end() const { return {}; }

    private:
        const base::Array& m_array;
        size_t m_count;
    };

    // The pairs of a dictionary that refuses changes, read through nextEntry alone, for the same reason.
    class UnchangingPairs {
    public:
        explicit UnchangingPairs(const base::Dictionary& dictionary)
            : m_dictionary(dictionary)
        {
        }
        struct End { };
        class Iterator {
        public:
            explicit Iterator(const base::Dictionary& dictionary)
                : m_dictionary(dictionary)
            {
                ++*this;
            }
            std::pair<const base::Value*, const base::Value*> operator*() const { return { m_key, m_value }; }
            Iterator& operator++()
            {
                m_atEnd = !m_dictionary.nextEntry(m_cursor, m_key, m_value);
                return *this;
            }
            bool operator==(End) const { return m_atEnd; }

        private:
            const base::Dictionary& m_dictionary;
            size_t m_cursor { 0 };
            const base::Value* m_key { nullptr };
            const base::Value* m_value { nullptr };
            bool m_atEnd { false };
        };
        Iterator begin() const { return Iterator(m_dictionary); }
        End end() const { return {}; }

    private:
        const base::Dictionary& m_dictionary;
    };

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
    m_output.resize(InitialOutputCapacity);
    m_end = m_output.data();
    m_roomEnd = m_end + m_output.size();
}

std::optional<std::string> JSONSerializer::serializeObject(
    const base::Value& object, SerializeOptions options, const UnsupportedValueFormatter& formatter, base::Error* error)
{
    JSONSerializer serializer(options, formatter);
    bool written;
    if (!object.isArray() && !object.isDictionary())
        written = serializer.fail(
            "Unable to serialize object class " + className(object) + ", expected a NSArray or NSDictionary.");
    else if (options & JSONSerializePretty)
        written = serializer.writeValue<true>(object);
    else
        written = serializer.writeValue<false>(object);
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
    m_output.resize(static_cast<size_t>(m_end - m_output.data()));
    return std::move(m_output);
}

bool JSONSerializer::fail(std::string message)
{
    if (!m_error)
        m_error = std::move(message);
    return false;
}

char* JSONSerializer::room(size_t bytes) { return m_end = makeRoom(m_end, bytes); }

char* JSONSerializer::makeRoom(char* out, size_t bytes)
{
    if (static_cast<size_t>(m_roomEnd - out) >= bytes)
        return out;
    return growRoom(out, bytes);
}

char* JSONSerializer::growRoom(char* out, size_t bytes)
{
    auto used = static_cast<size_t>(out - m_output.data());
    auto written = static_cast<size_t>(m_end - m_output.data());
    size_t wanted = used + bytes;
    if (wanted > m_output.capacity())
        m_output.reserve(std::max(wanted, 2 * m_output.capacity()));
    m_output.resize(std::min(wanted + RoomStep, m_output.capacity()));
    m_end = m_output.data() + written;
    m_roomEnd = m_output.data() + m_output.size();
    return m_output.data() + used;
}

void JSONSerializer::writeBytes(const char* bytes, size_t count)
{
    char* out = room(count);
    std::memcpy(out, bytes, count);
    m_end = out + count;
}

template <typename Integer> void JSONSerializer::writeInteger(Integer value)
{
    // The longest is 20 characters: 18446744073709551615, -9223372036854775808.
    constexpr size_t longest = 20;
    char* out = room(longest);
    m_end = std::to_chars(out, out + longest, value).ptr;
}

template <bool pretty> bool JSONSerializer::writeValue(const base::Value& value)
{
    switch (value.kind()) {
    case base::Value::Kind::Null:
        writeBytes("null", 4);
        return true;
    case base::Value::Kind::Bool:
        if (*value.boolean())
            writeBytes("true", 4);
        else
            writeBytes("false", 5);
        return true;
    case base::Value::Kind::Integer:
        writeInteger(*value.integer());
        return true;
    case base::Value::Kind::Unsigned:
        writeInteger(*value.unsignedInteger());
        return true;
    case base::Value::Kind::Double:
        return writeDouble(*value.real());
    case base::Value::Kind::String:
        return writeString(*value.string(), true);
    case base::Value::Kind::Array:
        return writeArray<pretty>(*value.array());
    case base::Value::Kind::Dictionary:
        return writeDictionary<pretty>(*value.dictionary());
    case base::Value::Kind::Data:
    case base::Value::Kind::Date:
        return writeUnsupported<pretty>(value);
    }
    return false;
}

template <bool pretty> bool JSONSerializer::writeUnsupported(const base::Value& original)
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
    return writeValue<pretty>(*replacement);
}

bool JSONSerializer::writeDouble(double value)
{
    if (!std::isfinite(value))
        return fail("Floating point values must be finite.  JSON does not support NaN or Infinity.");
    m_end = writeDoubleText(value, room(DoubleTextCapacity));
    return true;
}

template <bool pretty> bool JSONSerializer::writeArray(const base::Array& array)
{
    if (array.isMutable())
        return writeElements<pretty>(array);
    return writeElements<pretty>(UnchangingElements(array));
}

template <bool pretty, typename Elements> bool JSONSerializer::writeElements(const Elements& elements)
{
    if (!openContainer<pretty>('['))
        return false;
    bool first = true;
    for (const base::Value& element : elements) {
        if (!first)
            writeComma<pretty>();
        first = false;
        if (!writeValue<pretty>(element))
            return false;
    }
    closeContainer<pretty>(']');
    return true;
}

template <bool pretty> bool JSONSerializer::writeDictionary(const base::Dictionary& dictionary)
{
    if constexpr (pretty)
        return writeSortedDictionary(dictionary);
    else if (dictionary.isMutable())
        return writePairs<false>(dictionary);
    else
        return writePairs<false>(UnchangingPairs(dictionary));
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
    return writePairs<true>(pairs);
}

template <bool pretty, typename Pairs> bool JSONSerializer::writePairs(const Pairs& pairs)
{
    if (!openContainer<pretty>('{'))
        return false;
    bool first = true;
    for (auto [key, value] : pairs) {
        if (!first)
            writeComma<pretty>();
        first = false;
        if (!writePair<pretty>(*key, *value))
            return false;
    }
    closeContainer<pretty>('}');
    return true;
}

template <bool pretty> bool JSONSerializer::writePair(const base::Value& key, const base::Value& value)
{
    const std::string* text = key.string();
    if (!text)
        return fail(KeyMustBeString);
    if (!writeString(*text, true))
        return false;
    // The string left room for these.
    if constexpr (pretty) {
        std::memcpy(m_end, ": ", 2);
        m_end += 2;
    } else
        *m_end++ = ':';
    return writeValue<pretty>(value);
}

[[gnu::always_inline]] inline bool JSONSerializer::writeString(std::string_view string, bool includeQuotes)
{
    // Most keys and many values fit one block: without a special byte, one block is all their writing.
    if (string.size() <= BlockBytes) {
        char* out = room(2 + 2 * BlockBytes);
        if (includeQuotes)
            *out++ = '"';
        bool slashIsSpecial = m_options & JSONSerializeEscapeSlash;
        if (!(slashIsSpecial ? copyBlock<true>(string.data(), string.size(), out)
                             : copyBlock<false>(string.data(), string.size(), out))) {
            out += string.size();
            if (includeQuotes)
                *out++ = '"';
            m_end = out;
            return true;
        }
    }
    return (m_options & JSONSerializeEscapeSlash) ? writeStringEscaping<true>(string, includeQuotes)
                                                  : writeStringEscaping<false>(string, includeQuotes);
}

template <bool slashIsSpecial> bool JSONSerializer::writeStringEscaping(std::string_view string, bool includeQuotes)
{
    const char* p = string.data();
    const char* end = p + string.size();
    // Written at `out` and kept by moving the end of the text there once the string is whole, so that a
    // string that fails leaves none of itself.
    char* out = room(std::min(string.size(), ChunkBytes) + 2 + BlockBytes);
    if (includeQuotes)
        *out++ = '"';
    while (p != end) {
        // Room for a chunk of the string as it is, the closing quote and a block; an escape makes more.
        const char* chunkEnd = static_cast<size_t>(end - p) > ChunkBytes ? p + ChunkBytes : end;
        out = makeRoom(out, static_cast<size_t>(chunkEnd - p) + 1 + BlockBytes);
        while (p < chunkEnd) {
            auto count = std::min(static_cast<size_t>(end - p), BlockBytes);
            unsigned special = copyBlock<slashIsSpecial>(p, count, out);
            if (!special) {
                p += count;
                out += count;
                continue;
            }
            auto plain = std::countr_zero(special);
            // The bytes of the block after the special one are in place after it in the output too.
            const char* copied = p + count;
            p += plain;
            out += plain;
            auto byte = static_cast<uint8_t>(*p);
            if (byte < 0x80) {
                out = makeRoom(out, MaximumEscapeBytes + static_cast<size_t>(chunkEnd - p) + 1 + BlockBytes);
                if (char letter = TwoByteEscapes[byte]) {
                    out[0] = '\\';
                    out[1] = letter;
                    out += 2;
                } else
                    out = writeHexQuad(byte, out);
                ++p;
                continue;
            }
            auto bytes = reinterpret_cast<const uint8_t*>(p);
            auto bytesEnd = reinterpret_cast<const uint8_t*>(end);
            if (!(m_options & JSONSerializeEscapeNonASCII)) {
                // Text in another script is mostly one run of the commonest sequences, taken at once (within
                // the chunk, whose room it fills at most); copied where it runs past the block.
                const char* run = skipCommonSequences(p, chunkEnd);
                if (run == p) {
                    size_t length = wellFormedSequenceLength(bytes, bytesEnd);
                    if (!length)
                        return fail("An error occurred converting the contents of a NSString to UTF8.");
                    run = p + length;
                }
                if (run > copied)
                    std::memcpy(out + (copied - p), copied, static_cast<size_t>(run - copied));
                out += run - p;
                p = run;
                continue;
            }
            size_t length = wellFormedSequenceLength(bytes, bytesEnd);
            if (!length)
                return fail("An error occurred converting the contents of a NSString to UTF8.");
            UTF8Sequence sequence = decodeUTF8Sequence(bytes, bytesEnd);
            if (sequence.status != UTF8Status::WellFormed)
                return fail("Error converting UTF8.");
            out = makeRoom(out, MaximumEscapeBytes + static_cast<size_t>(chunkEnd - p) + 1 + BlockBytes);
            out = writeEscapedCodePoint(sequence.codePoint, out);
            p += length;
        }
    }
    if (includeQuotes)
        *out++ = '"';
    m_end = out;
    return true;
}

void JSONSerializer::writeIndentedLineBreak()
{
    size_t indentation = 2 * m_depth;
    char* out = room(1 + indentation);
    out[0] = '\n';
    std::memset(out + 1, ' ', indentation);
    m_end = out + 1 + indentation;
}

template <bool pretty> bool JSONSerializer::openContainer(char bracket)
{
    if (++m_depth > JSONMaximumDepth)
        return fail(JSONTooDeepMessage);
    *room(1) = bracket;
    ++m_end;
    if constexpr (pretty)
        writeIndentedLineBreak();
    return true;
}

template <bool pretty> void JSONSerializer::writeComma()
{
    *room(1) = ',';
    ++m_end;
    if constexpr (pretty)
        writeIndentedLineBreak();
}

template <bool pretty> void JSONSerializer::closeContainer(char bracket)
{
    --m_depth;
    if constexpr (pretty)
        writeIndentedLineBreak();
    *room(1) = bracket;
    ++m_end;
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
