// networking::PropertyListDate: the date texts of XML property lists ("2014-06-01T00:00:00Z", whole seconds,
// UTC) and the reference date of binary ones (2001-01-01). Pure; any thread.
#pragma once

#include "base/time/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace networking {

struct PropertyListDate {
    // Seconds from 1970 to the binary format's reference date.
    static constexpr double ReferenceDateOffset = 978307200.0;

    // Nothing for a date the text cannot hold: not finite, or outside the years 0000 to 9999.
    [[nodiscard]] static std::optional<std::string> format(base::Date date);
    [[nodiscard]] static std::optional<base::Date> parse(std::string_view text);
};

} // namespace networking
