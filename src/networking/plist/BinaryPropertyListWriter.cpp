#include "networking/plist/BinaryPropertyListWriter.h"

#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/text/TextEncoding.h"
#include "networking/plist/PropertyListDate.h"
#include "networking/plist/PropertyListSerialization.h"

#include <cstring>
#include <string>
#include <vector>

namespace networking {

namespace {

    size_t bytesFor(uint64_t value)
    {
        size_t size = 1;
        while (size < 8 && value >> (size * 8))
            ++size;
        return size;
    }

    class Writer {
    public:
        // Lays every value out in the order the objects will be written: a container before its members.
        bool collect(const base::Value& value, size_t depth)
        {
            if (depth > PropertyListSerialization::MaximumDepth)
                return fail("The property list is nested too deeply.");
            if (value.isNull())
                return fail("A property list cannot hold the null value.");
            m_objects.push_back(&value);
            if (const auto& array = value.array()) {
                for (const base::Value& member : *array) {
                    if (!collect(member, depth + 1))
                        return false;
                }
            } else if (const auto& dictionary = value.dictionary()) {
                for (auto [key, member] : *dictionary) {
                    if (!key->isString())
                        return fail("A dictionary key is not a text.");
                    if (!collect(*key, depth + 1))
                        return false;
                }
                for (auto [key, member] : *dictionary) {
                    if (!collect(*member, depth + 1))
                        return false;
                }
            }
            return true;
        }

        std::optional<base::Data> finish()
        {
            m_referenceSize = bytesFor(m_objects.size());
            m_output = { 'b', 'p', 'l', 'i', 's', 't', '0', '0' };
            std::vector<uint64_t> offsets;
            for (size_t index = 0; index < m_objects.size(); ++index) {
                offsets.push_back(m_output.size());
                if (!writeObject(*m_objects[index], index))
                    return std::nullopt;
            }
            uint64_t tableOffset = m_output.size();
            size_t offsetSize = bytesFor(tableOffset);
            for (uint64_t offset : offsets)
                appendNumber(offset, offsetSize);
            m_output.insert(m_output.end(), 6, 0);
            m_output.push_back(static_cast<uint8_t>(offsetSize));
            m_output.push_back(static_cast<uint8_t>(m_referenceSize));
            appendNumber(m_objects.size(), 8);
            appendNumber(0, 8);
            appendNumber(tableOffset, 8);
            return m_output;
        }

        std::optional<std::string> failure;

    private:
        bool fail(std::string reason)
        {
            if (!failure)
                failure = std::move(reason);
            return false;
        }

        void appendNumber(uint64_t value, size_t size)
        {
            for (size_t i = size; i-- > 0;)
                m_output.push_back(static_cast<uint8_t>(value >> (i * 8)));
        }

        void appendMarker(uint8_t kind, uint64_t count)
        {
            if (count < 15) {
                m_output.push_back(static_cast<uint8_t>(kind | count));
                return;
            }
            m_output.push_back(static_cast<uint8_t>(kind | 0x0F));
            appendInteger(count);
        }

        void appendInteger(uint64_t value)
        {
            size_t size = bytesFor(value);
            uint8_t exponent = size == 1 ? 0 : size == 2 ? 1 : size <= 4 ? 2 : 3;
            m_output.push_back(static_cast<uint8_t>(0x10 | exponent));
            appendNumber(value, size_t(1) << exponent);
        }

        void appendDouble(uint8_t marker, double value)
        {
            uint64_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            m_output.push_back(marker);
            appendNumber(bits, 8);
        }

        // Writes the object at table position `index`; its members follow it in the table.
        bool writeObject(const base::Value& value, size_t index)
        {
            switch (value.kind()) {
            case base::Value::Kind::Bool:
                m_output.push_back(*value.boolean() ? 0x09 : 0x08);
                return true;
            case base::Value::Kind::Integer:
                if (*value.integer() < 0) {
                    m_output.push_back(0x13);
                    appendNumber(static_cast<uint64_t>(*value.integer()), 8);
                } else {
                    appendSignedSafeInteger(static_cast<uint64_t>(*value.integer()));
                }
                return true;
            case base::Value::Kind::Unsigned:
                appendSignedSafeInteger(*value.unsignedInteger());
                return true;
            case base::Value::Kind::Double:
                appendDouble(0x23, *value.real());
                return true;
            case base::Value::Kind::Date:
                appendDouble(0x33, value.date()->timeIntervalSince1970() - PropertyListDate::ReferenceDateOffset);
                return true;
            case base::Value::Kind::Data:
                appendMarker(0x40, value.data()->size());
                m_output.insert(m_output.end(), value.data()->begin(), value.data()->end());
                return true;
            case base::Value::Kind::String:
                return writeString(*value.string());
            case base::Value::Kind::Array: {
                const auto& array = *value.array();
                appendMarker(0xA0, array.count());
                size_t member = index + 1;
                for (const base::Value& element : array) {
                    appendNumber(member, m_referenceSize);
                    member += subtreeSize(element);
                }
                return true;
            }
            case base::Value::Kind::Dictionary: {
                const auto& dictionary = *value.dictionary();
                appendMarker(0xD0, dictionary.count());
                size_t member = index + 1;
                for (size_t key = 0; key < dictionary.count(); ++key)
                    appendNumber(member++, m_referenceSize);
                for (auto [key, element] : dictionary) {
                    appendNumber(member, m_referenceSize);
                    member += subtreeSize(*element);
                }
                return true;
            }
            case base::Value::Kind::Null:
                break;
            }
            return fail("A property list cannot hold the null value.");
        }

        // Integers above the signed range take the 16-byte form; eight-byte integers read back as signed.
        void appendSignedSafeInteger(uint64_t value)
        {
            if (value > static_cast<uint64_t>(INT64_MAX)) {
                m_output.push_back(0x14);
                appendNumber(0, 8);
                appendNumber(value, 8);
                return;
            }
            appendInteger(value);
        }

        bool writeString(const std::string& text)
        {
            bool ascii = true;
            for (char c : text)
                ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            if (ascii) {
                appendMarker(0x50, text.size());
                m_output.insert(m_output.end(), text.begin(), text.end());
                return true;
            }
            auto units = base::TextEncoding::encode(text, base::TextEncoding::UTF16BigEndian);
            if (!units)
                return fail("A text is not valid UTF-8.");
            appendMarker(0x60, units->size() / 2);
            m_output.insert(m_output.end(), units->begin(), units->end());
            return true;
        }

        // How many table entries a value takes, itself and everything inside it.
        static size_t subtreeSize(const base::Value& value)
        {
            size_t size = 1;
            if (const auto& array = value.array()) {
                for (const base::Value& member : *array)
                    size += subtreeSize(member);
            } else if (const auto& dictionary = value.dictionary()) {
                for (auto [key, member] : *dictionary)
                    size += 1 + subtreeSize(*member);
            }
            return size;
        }

        std::vector<const base::Value*> m_objects;
        std::vector<uint8_t> m_output;
        size_t m_referenceSize { 1 };
    };

} // namespace

std::optional<base::Data> BinaryPropertyListWriter::write(const base::Value& propertyList, base::Error* error)
{
    Writer writer;
    std::optional<base::Data> data;
    if (writer.collect(propertyList, 0))
        data = writer.finish();
    if (!data)
        base::setError(
            error, PropertyListSerialization::writeError(writer.failure.value_or("The list cannot be written.")));
    return data;
}

} // namespace networking
