// net::HTTPHeaderFields: the header fields of a request or a response, in the order they were first set.
// Names are looked up without regard to letter case and keep the spelling they were first given; setting a
// field replaces its value, adding to a present field joins the values with ", " (so several "Set-Cookie"
// fields of a reply arrive as one joined value). A plain value type, usable on any thread; copies share the
// fields until one of them is changed, so that the same default fields given to every request cost no copy.
//
//   net::HTTPHeaderFields fields;
//   fields.set("Content-Type", "application/json");
//   const std::string* type = fields.value("content-type"); // "application/json"
#pragma once

#include "base/values/Dictionary.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

class HTTPHeaderFields {
public:
    using Field = std::pair<std::string, std::string>;

    // The value under a name, compared without regard to case; null when absent.
    const std::string* value(std::string_view name) const;
    bool contains(std::string_view name) const { return value(name) != nullptr; }

    void set(std::string_view name, std::string value);
    // Joins `value` to a present field with ", ", else adds the field.
    void add(std::string_view name, std::string_view value);
    void remove(std::string_view name);

    void reserve(size_t count) { editable().reserve(count); }
    size_t size() const { return fields().size(); }
    bool empty() const { return fields().empty(); }
    auto begin() const { return fields().begin(); }
    auto end() const { return fields().end(); }

    // The fields as a dictionary of texts, for descriptions and error reports.
    base::DictionaryRef dictionary() const;

    static bool namesEqual(std::string_view a, std::string_view b);

    // Values sharing their fields are equal without a look at them.
    bool operator==(const HTTPHeaderFields& other) const
    {
        return m_fields == other.m_fields || fields() == other.fields();
    }

private:
    const std::vector<Field>& fields() const;
    // The fields to change, first copied when another value still shares them.
    std::vector<Field>& editable();
    std::vector<Field>::iterator find(std::string_view name);

    std::shared_ptr<std::vector<Field>> m_fields;
};

} // namespace net
