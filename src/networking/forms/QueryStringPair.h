// networking::QueryStringPair: one field of a query string or form body and its value, as flattened from
// nested parameters ("a[x]", "a[y][]"). Its text escapes the field and the value separately; a null value
// gives the field alone. A value type.
//
//   networking::QueryStringPair pair("a b", base::Value(2));
//   pair.URLEncodedStringValueWithEncoding(base::TextEncoding::UTF8); // "a%20b=2"
#pragma once

#include "base/text/TextEncoding.h"
#include "base/values/Value.h"

#include <optional>
#include <string>

namespace networking {

class QueryStringPair {
public:
    QueryStringPair(std::string field, base::Value value)
        : m_field(std::move(field))
        , m_value(std::move(value))
    {
    }

    const std::string& field() const { return m_field; }
    const base::Value& value() const { return m_value; }

    // "field=value" escaped; nothing when the field or the value cannot be written in `encoding`.
    [[nodiscard]] std::optional<std::string> URLEncodedStringValueWithEncoding(base::TextEncoding::Code encoding) const;

private:
    std::string m_field;
    base::Value m_value;
};

} // namespace networking
