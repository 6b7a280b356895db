// childcare::TimeOfDay: a time of day as the child-care screens write it ("8:05", "08:00"), read as the
// minutes since midnight, so that a picker can open at the time its row shows. Pure.
//
//   picker->setCountDownDuration(childcare::TimeOfDay::minutes("08:00").value_or(0) * 60.0);
#pragma once

#include <optional>
#include <string>

namespace childcare {

class TimeOfDay {
public:
    // "H:mm" or "HH:mm" of a real time (hours 0-23, minutes 0-59); nothing for any other text.
    [[nodiscard]] static std::optional<int> minutes(const std::string& text);
};

} // namespace childcare
