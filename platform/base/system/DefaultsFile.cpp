#include "base/system/DefaultsFile.h"

#include "base/values/Array.h"
#include "base/text/UTF8.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace base {

namespace {

    constexpr std::string_view magic = "LDEF";
    constexpr uint8_t formatVersion = 1;
    constexpr size_t headerSize = 4 + 1 + 4 + 4;

    uint32_t crc32(std::string_view bytes)
    {
        static const auto table = [] {
            std::array<uint32_t, 256> entries {};
            for (uint32_t i = 0; i < 256; ++i) {
                uint32_t c = i;
                for (int bit = 0; bit < 8; ++bit)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                entries[i] = c;
            }
            return entries;
        }();
        uint32_t crc = 0xFFFFFFFFu;
        for (char byte : bytes)
            crc = table[(crc ^ static_cast<uint8_t>(byte)) & 0xFF] ^ (crc >> 8);
        return crc ^ 0xFFFFFFFFu;
    }

    class Writer {
    public:
        void value(const Value& value)
        {
            switch (value.kind()) {
            case Value::Kind::Null:
                m_bytes += 'n';
                return;
            case Value::Kind::Bool:
                m_bytes += *value.boolean() ? 't' : 'f';
                return;
            case Value::Kind::Integer:
                m_bytes += 'i';
                number(static_cast<uint64_t>(*value.integer()));
                return;
            case Value::Kind::Unsigned:
                m_bytes += 'u';
                number(*value.unsignedInteger());
                return;
            case Value::Kind::Double:
                m_bytes += 'r';
                number(std::bit_cast<uint64_t>(*value.real()));
                return;
            case Value::Kind::Date:
                m_bytes += 'D';
                number(std::bit_cast<uint64_t>(value.date()->timeIntervalSince1970()));
                return;
            case Value::Kind::String:
                m_bytes += 's';
                bytes(*value.string());
                return;
            case Value::Kind::Data: {
                const Data& data = *value.data();
                m_bytes += 'b';
                bytes(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
                return;
            }
            case Value::Kind::Array:
                m_bytes += 'a';
                count(value.array()->count());
                for (const Value& element : *value.array())
                    this->value(element);
                return;
            case Value::Kind::Dictionary:
                dictionary(*value.dictionary());
                return;
            }
        }

        void dictionary(const Dictionary& dictionary)
        {
            m_bytes += 'o';
            count(dictionary.count());
            for (auto [key, value] : dictionary) {
                this->value(*key);
                this->value(*value);
            }
        }

        const std::string& bytes() const { return m_bytes; }

    private:
        void number(uint64_t value)
        {
            for (int i = 0; i < 8; ++i)
                m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }

        void count(size_t value)
        {
            for (int i = 0; i < 4; ++i)
                m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }

        void bytes(std::string_view text)
        {
            count(text.size());
            m_bytes.append(text);
        }

        std::string m_bytes;
    };

    class Reader {
    public:
        explicit Reader(std::string_view bytes)
            : m_bytes(bytes)
        {
        }

        std::optional<Value> value(int depth)
        {
            if (depth > DefaultsFile::maxDepth || m_bytes.empty())
                return std::nullopt;
            char kind = m_bytes.front();
            m_bytes.remove_prefix(1);
            switch (kind) {
            case 'n':
                return Value::null();
            case 'f':
                return Value(false);
            case 't':
                return Value(true);
            case 'i':
                return mapped(number(), [](uint64_t bits) { return Value(static_cast<int64_t>(bits)); });
            case 'u':
                return mapped(number(), [](uint64_t bits) { return Value(bits); });
            case 'r':
                return mapped(number(), [](uint64_t bits) { return Value(std::bit_cast<double>(bits)); });
            case 'D':
                return mapped(number(),
                    [](uint64_t bits) { return Value(Date::fromTimeIntervalSince1970(std::bit_cast<double>(bits))); });
            case 's': {
                auto text = bytes();
                if (!text || !utf8::isValid(*text))
                    return std::nullopt;
                return Value(std::string(*text));
            }
            case 'b': {
                auto data = bytes();
                if (!data)
                    return std::nullopt;
                return Value(Data(data->begin(), data->end()));
            }
            case 'a':
                return array(depth);
            case 'o':
                return dictionary(depth);
            }
            return std::nullopt;
        }

        bool atEnd() const { return m_bytes.empty(); }

    private:
        template <typename Make> static std::optional<Value> mapped(std::optional<uint64_t> bits, Make make)
        {
            if (!bits)
                return std::nullopt;
            return make(*bits);
        }

        std::optional<uint64_t> fixed(size_t size)
        {
            if (m_bytes.size() < size)
                return std::nullopt;
            uint64_t value = 0;
            for (size_t i = 0; i < size; ++i)
                value |= uint64_t(static_cast<uint8_t>(m_bytes[i])) << (8 * i);
            m_bytes.remove_prefix(size);
            return value;
        }

        std::optional<uint64_t> number() { return fixed(8); }

        // A count can never exceed the bytes left, since every element takes at least one.
        std::optional<size_t> count()
        {
            auto value = fixed(4);
            if (!value || *value > m_bytes.size())
                return std::nullopt;
            return static_cast<size_t>(*value);
        }

        std::optional<std::string_view> bytes()
        {
            auto length = count();
            if (!length)
                return std::nullopt;
            std::string_view taken = m_bytes.substr(0, *length);
            m_bytes.remove_prefix(*length);
            return taken;
        }

        std::optional<Value> array(int depth)
        {
            auto elements = count();
            if (!elements)
                return std::nullopt;
            std::vector<Value> values;
            values.reserve(*elements);
            for (size_t i = 0; i < *elements; ++i) {
                auto element = value(depth + 1);
                if (!element)
                    return std::nullopt;
                values.push_back(std::move(*element));
            }
            return Value(Array::make(std::move(values)));
        }

        std::optional<Value> dictionary(int depth)
        {
            auto entries = count();
            if (!entries)
                return std::nullopt;
            Dictionary::Pairs pairs;
            pairs.reserve(*entries);
            for (size_t i = 0; i < *entries; ++i) {
                auto key = value(depth + 1);
                auto element = key ? value(depth + 1) : std::nullopt;
                if (!element)
                    return std::nullopt;
                pairs.emplace_back(std::move(*key), std::move(*element));
            }
            return Value(Dictionary::make(std::move(pairs)));
        }

        std::string_view m_bytes;
    };

    void appendFixed(std::string& bytes, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    uint32_t fixedAt(std::string_view bytes, size_t offset)
    {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value |= uint32_t(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
        return value;
    }

} // namespace

std::string DefaultsFile::write(const Dictionary& values)
{
    Writer writer;
    writer.dictionary(values);
    const std::string& payload = writer.bytes();
    std::string file(magic);
    file += static_cast<char>(formatVersion);
    appendFixed(file, static_cast<uint32_t>(payload.size()));
    appendFixed(file, crc32(payload));
    return file + payload;
}

DictionaryRef DefaultsFile::read(std::string_view bytes)
{
    if (bytes.size() < headerSize || !bytes.starts_with(magic) || static_cast<uint8_t>(bytes[4]) != formatVersion)
        return nullptr;
    std::string_view payload = bytes.substr(headerSize);
    if (fixedAt(bytes, 5) != payload.size() || fixedAt(bytes, 9) != crc32(payload))
        return nullptr;
    return readPayload(payload);
}

DictionaryRef DefaultsFile::readPayload(std::string_view payload)
{
    Reader reader(payload);
    auto root = reader.value(0);
    if (!root || !root->isDictionary() || !reader.atEnd())
        return nullptr;
    return root->dictionary();
}

} // namespace base
