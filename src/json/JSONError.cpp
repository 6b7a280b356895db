#include "json/JSONError.h"

#include "base/values/Value.h"

#include <utility>

namespace json {

base::Error makeJSONError(std::string message)
{
    return base::Error(JSONErrorDomain, JSONErrorCode,
        base::Dictionary::Pairs {
            { base::Value(base::Error::LocalizedDescriptionKey), base::Value(std::move(message)) } });
}

base::Error makeJSONError(std::string message, size_t index, size_t line)
{
    return base::Error(JSONErrorDomain, JSONErrorCode,
        base::Dictionary::Pairs {
            { base::Value(base::Error::LocalizedDescriptionKey), base::Value(std::move(message)) },
            { base::Value(JSONAtIndexKey), base::Value(static_cast<unsigned long>(index)) },
            { base::Value(JSONLineNumberKey), base::Value(static_cast<unsigned long>(line)) },
        });
}

} // namespace json
