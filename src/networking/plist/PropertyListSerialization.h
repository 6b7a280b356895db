// networking::PropertyListSerialization: property lists to and from bytes, in the XML format and in the
// binary format ("bplist00"). A property list is a tree of dictionaries with text keys, arrays, texts,
// integers, reals, booleans, dates and data; the null value has no place in one. Readers check everything
// they read (nesting depth, offsets, counts, cycles, expansion of shared objects) and give nothing with an
// error for anything malformed. Pure; any thread.
//
//   PropertyListFormat format;
//   auto list = networking::PropertyListSerialization::propertyListWithData(body, 0, &format, &error);
//   auto xml = networking::PropertyListSerialization::dataWithPropertyList(parameters, PropertyListFormat::XML);
#pragma once

#include "base/values/Error.h"
#include "base/values/Value.h"

#include <cstdint>
#include <optional>

namespace networking {

enum class PropertyListFormat { XML = 100, Binary = 200 };

class PropertyListSerialization {
public:
    using ReadOptions = uint64_t;
    static constexpr ReadOptions Immutable = 0;
    static constexpr ReadOptions MutableContainers = 1;

    // Error codes of the foundation domain.
    static constexpr long ReadCorruptError = 3840;
    static constexpr long WriteInvalidError = 3851;

    [[nodiscard]] static std::optional<base::Value> propertyListWithData(const base::Data& data, ReadOptions options,
        PropertyListFormat* format = nullptr, base::Error* error = nullptr);
    [[nodiscard]] static std::optional<base::Data> dataWithPropertyList(
        const base::Value& propertyList, PropertyListFormat format, base::Error* error = nullptr);

    // Nesting deeper than this is refused by the readers and the writers.
    static constexpr size_t MaximumDepth = 512;

    static base::Error readError(std::string reason);
    static base::Error writeError(std::string reason);
};

} // namespace networking
