#include "networking/plist/BinaryPropertyListReader.h"

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

    constexpr size_t HeaderSize = 8;
    constexpr size_t TrailerSize = 32;

    class Reader {
    public:
        Reader(const base::Data& data, bool mutableContainers)
            : m_data(data)
            , m_mutableContainers(mutableContainers)
        {
        }

        std::optional<base::Value> read(base::Error* error)
        {
            auto root = readDocument();
            if (!root) {
                base::setError(error,
                    PropertyListSerialization::readError(m_failure.value_or("The binary property list is damaged.")));
                return std::nullopt;
            }
            return root;
        }

    private:
        struct Slot {
            enum class State { Unread, Reading, Read } state { State::Unread };
            base::Value value;
            size_t expanded { 0 };
        };

        std::nullopt_t fail(std::string reason)
        {
            if (!m_failure)
                m_failure = std::move(reason);
            return std::nullopt;
        }

        // A big-endian unsigned number of `size` bytes (1 to 8) at `offset`, if the data holds it.
        std::optional<uint64_t> number(size_t offset, size_t size) const
        {
            if (size == 0 || size > 8 || offset > m_data.size() || m_data.size() - offset < size)
                return std::nullopt;
            uint64_t value = 0;
            for (size_t i = 0; i < size; ++i)
                value = (value << 8) | m_data[offset + i];
            return value;
        }

        std::optional<base::Value> readDocument()
        {
            if (m_data.size() < HeaderSize + TrailerSize)
                return fail("The data is too short for a binary property list.");
            size_t trailer = m_data.size() - TrailerSize;
            m_offsetSize = m_data[trailer + 6];
            m_referenceSize = m_data[trailer + 7];
            auto objectCount = number(trailer + 8, 8);
            auto topObject = number(trailer + 16, 8);
            auto tableOffset = number(trailer + 24, 8);
            if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8)
                return fail("The trailer's sizes are not valid.");
            if (*objectCount == 0 || *topObject >= *objectCount || *tableOffset < HeaderSize || *tableOffset >= trailer)
                return fail("The trailer's counts are not valid.");
            if ((trailer - *tableOffset) / m_offsetSize < *objectCount)
                return fail("The offset table does not fit in the data.");
            m_tableOffset = static_cast<size_t>(*tableOffset);
            m_slots.resize(static_cast<size_t>(*objectCount));
            return object(static_cast<size_t>(*topObject), 0);
        }

        std::optional<size_t> objectOffset(size_t index) const
        {
            auto offset = number(m_tableOffset + index * m_offsetSize, m_offsetSize);
            if (!offset || *offset < HeaderSize || *offset >= m_tableOffset)
                return std::nullopt;
            return static_cast<size_t>(*offset);
        }

        std::optional<base::Value> object(size_t index, size_t depth)
        {
            if (index >= m_slots.size())
                return fail("A reference points outside the object table.");
            if (depth > PropertyListSerialization::MaximumDepth)
                return fail("The property list is nested too deeply.");
            Slot& slot = m_slots[index];
            if (slot.state == Slot::State::Reading)
                return fail("An object contains itself.");
            if (slot.state == Slot::State::Read) {
                if (!addExpanded(slot.expanded))
                    return std::nullopt;
                return slot.value;
            }
            slot.state = Slot::State::Reading;
            size_t expandedBefore = m_expanded;
            auto value = readObject(index, depth);
            Slot& done = m_slots[index];
            if (!value)
                return std::nullopt;
            done.state = Slot::State::Read;
            done.value = *value;
            done.expanded = m_expanded - expandedBefore;
            return value;
        }

        bool addExpanded(size_t count)
        {
            m_expanded += count;
            if (m_expanded > BinaryPropertyListReader::MaximumExpandedObjects) {
                fail("The property list expands to too many objects.");
                return false;
            }
            return true;
        }

        // The count of a container, string or data: in the marker's low nibble, or in a following integer.
        std::optional<uint64_t> count(size_t& offset, uint8_t marker)
        {
            uint8_t low = marker & 0x0F;
            ++offset;
            if (low != 0x0F)
                return low;
            auto intMarker = number(offset, 1);
            if (!intMarker || (*intMarker & 0xF0) != 0x10 || (*intMarker & 0x0F) > 3)
                return fail("A length is not valid.");
            size_t size = size_t(1) << (*intMarker & 0x0F);
            auto value = number(offset + 1, size);
            if (!value)
                return fail("A length runs past the end of the data.");
            offset += 1 + size;
            return value;
        }

        bool fits(size_t offset, uint64_t length) const
        {
            return offset <= m_tableOffset && length <= m_tableOffset - offset;
        }

        std::optional<base::Value> readObject(size_t index, size_t depth)
        {
            auto start = objectOffset(index);
            if (!start)
                return fail("An object offset is not valid.");
            if (!addExpanded(1))
                return std::nullopt;
            size_t offset = *start;
            uint8_t marker = m_data[offset];
            switch (marker >> 4) {
            case 0x0:
                if (marker == 0x08)
                    return base::Value(false);
                if (marker == 0x09)
                    return base::Value(true);
                return fail("A property list cannot hold this value.");
            case 0x1:
                return readInteger(offset, marker);
            case 0x2:
                return readReal(offset, marker);
            case 0x3: {
                auto bits = marker == 0x33 ? number(offset + 1, 8) : std::nullopt;
                if (!bits)
                    return fail("A date is not valid.");
                double seconds = 0;
                std::memcpy(&seconds, &*bits, sizeof seconds);
                return base::Value(
                    base::Date::fromTimeIntervalSince1970(seconds + PropertyListDate::ReferenceDateOffset));
            }
            case 0x4: {
                auto length = count(offset, marker);
                if (!length || !fits(offset, *length))
                    return fail("Data runs past its end.");
                return base::Value(base::Data(m_data.begin() + static_cast<ptrdiff_t>(offset),
                    m_data.begin() + static_cast<ptrdiff_t>(offset + *length)));
            }
            case 0x5: {
                auto length = count(offset, marker);
                if (!length || !fits(offset, *length))
                    return fail("A text runs past its end.");
                std::string text(reinterpret_cast<const char*>(m_data.data()) + offset, static_cast<size_t>(*length));
                for (char c : text) {
                    if (static_cast<unsigned char>(c) >= 0x80)
                        return fail("An ASCII text holds other characters.");
                }
                return base::Value(std::move(text));
            }
            case 0x6: {
                auto length = count(offset, marker);
                if (!length || *length > m_tableOffset / 2 || !fits(offset, *length * 2))
                    return fail("A text runs past its end.");
                auto text
                    = base::TextEncoding::decode(std::span(m_data.data() + offset, static_cast<size_t>(*length * 2)),
                        base::TextEncoding::UTF16BigEndian);
                if (!text)
                    return fail("A text is not valid UTF-16.");
                return base::Value(std::move(*text));
            }
            case 0xA:
                return readArray(offset, marker, depth);
            case 0xD:
                return readDictionary(offset, marker, depth);
            default:
                return fail("A property list cannot hold this kind of object.");
            }
        }

        std::optional<base::Value> readInteger(size_t offset, uint8_t marker)
        {
            size_t exponent = marker & 0x0F;
            if (exponent > 4)
                return fail("An integer is not valid.");
            if (exponent == 4) {
                // 128 bits: only values that fit 64 bits are taken (the unsigned ones above the signed range).
                auto high = number(offset + 1, 8);
                auto low = number(offset + 9, 8);
                if (!high || !low || *high != 0)
                    return fail("An integer does not fit 64 bits.");
                return base::Value(*low);
            }
            size_t size = size_t(1) << exponent;
            auto bits = number(offset + 1, size);
            if (!bits)
                return fail("An integer runs past the end of the data.");
            // Eight-byte integers are signed (two's complement); shorter ones are unsigned and fit as they are.
            return base::Value(static_cast<int64_t>(*bits));
        }

        std::optional<base::Value> readReal(size_t offset, uint8_t marker)
        {
            if (marker == 0x22) {
                auto bits = number(offset + 1, 4);
                if (!bits)
                    return fail("A real runs past the end of the data.");
                auto narrow = static_cast<uint32_t>(*bits);
                float value = 0;
                std::memcpy(&value, &narrow, sizeof value);
                return base::Value(static_cast<double>(value));
            }
            auto bits = marker == 0x23 ? number(offset + 1, 8) : std::nullopt;
            if (!bits)
                return fail("A real is not valid.");
            double value = 0;
            std::memcpy(&value, &*bits, sizeof value);
            return base::Value(value);
        }

        std::optional<std::vector<size_t>> references(size_t& offset, uint64_t count)
        {
            if (count > m_tableOffset / m_referenceSize || !fits(offset, count * m_referenceSize))
                return fail("A container runs past its end.");
            std::vector<size_t> indexes;
            indexes.reserve(static_cast<size_t>(count));
            for (uint64_t i = 0; i < count; ++i) {
                indexes.push_back(static_cast<size_t>(*number(offset, m_referenceSize)));
                offset += m_referenceSize;
            }
            return indexes;
        }

        std::optional<base::Value> readArray(size_t offset, uint8_t marker, size_t depth)
        {
            auto length = count(offset, marker);
            if (!length)
                return std::nullopt;
            auto indexes = references(offset, *length);
            if (!indexes)
                return std::nullopt;
            std::vector<base::Value> members;
            members.reserve(indexes->size());
            for (size_t index : *indexes) {
                auto member = object(index, depth + 1);
                if (!member)
                    return std::nullopt;
                members.push_back(std::move(*member));
            }
            if (m_mutableContainers)
                return base::Value(base::MutableArray::make(std::move(members)));
            return base::Value(base::Array::make(std::move(members)));
        }

        std::optional<base::Value> readDictionary(size_t offset, uint8_t marker, size_t depth)
        {
            auto length = count(offset, marker);
            if (!length)
                return std::nullopt;
            auto keys = references(offset, *length);
            if (!keys)
                return std::nullopt;
            auto values = references(offset, *length);
            if (!values)
                return std::nullopt;
            base::Dictionary::Pairs pairs;
            pairs.reserve(keys->size());
            for (size_t i = 0; i < keys->size(); ++i) {
                auto key = object((*keys)[i], depth + 1);
                if (!key)
                    return std::nullopt;
                if (!key->isString())
                    return fail("A dictionary key is not a text.");
                auto value = object((*values)[i], depth + 1);
                if (!value)
                    return std::nullopt;
                pairs.emplace_back(std::move(*key), std::move(*value));
            }
            if (m_mutableContainers)
                return base::Value(base::MutableDictionary::make(std::move(pairs)));
            return base::Value(base::Dictionary::make(std::move(pairs)));
        }

        const base::Data& m_data;
        bool m_mutableContainers;
        size_t m_offsetSize { 0 };
        size_t m_referenceSize { 0 };
        size_t m_tableOffset { 0 };
        std::vector<Slot> m_slots;
        size_t m_expanded { 0 };
        std::optional<std::string> m_failure;
    };

} // namespace

std::optional<base::Value> BinaryPropertyListReader::read(
    const base::Data& data, bool mutableContainers, base::Error* error)
{
    return Reader(data, mutableContainers).read(error);
}

} // namespace networking
