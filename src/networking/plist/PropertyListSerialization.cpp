#include "networking/plist/PropertyListSerialization.h"

#include "networking/plist/BinaryPropertyListReader.h"
#include "networking/plist/BinaryPropertyListWriter.h"
#include "networking/plist/XMLPropertyListReader.h"
#include "networking/plist/XMLPropertyListWriter.h"

#include <cstring>

namespace networking {

base::Error PropertyListSerialization::readError(std::string reason)
{
    return base::Error(base::Error::FoundationDomain, ReadCorruptError,
        { { base::Error::LocalizedDescriptionKey, "The data couldn't be read because it isn't in the correct format." },
            { base::Error::LocalizedFailureReasonKey, std::move(reason) } });
}

base::Error PropertyListSerialization::writeError(std::string reason)
{
    return base::Error(base::Error::FoundationDomain, WriteInvalidError,
        { { base::Error::LocalizedDescriptionKey, "The property list could not be written." },
            { base::Error::LocalizedFailureReasonKey, std::move(reason) } });
}

std::optional<base::Value> PropertyListSerialization::propertyListWithData(
    const base::Data& data, ReadOptions options, PropertyListFormat* format, base::Error* error)
{
    bool mutableContainers = (options & MutableContainers) != 0;
    if (data.size() >= 8 && std::memcmp(data.data(), "bplist00", 8) == 0) {
        if (format)
            *format = PropertyListFormat::Binary;
        return BinaryPropertyListReader::read(data, mutableContainers, error);
    }
    if (format)
        *format = PropertyListFormat::XML;
    return XMLPropertyListReader::read(data, mutableContainers, error);
}

std::optional<base::Data> PropertyListSerialization::dataWithPropertyList(
    const base::Value& propertyList, PropertyListFormat format, base::Error* error)
{
    if (format == PropertyListFormat::Binary)
        return BinaryPropertyListWriter::write(propertyList, error);
    return XMLPropertyListWriter::write(propertyList, error);
}

} // namespace networking
