// childcare::AttendanceRowTexts: what one attendance row shows: its icon, its title (the state filled into
// the localised title of its kind) and its subtitle (the time as "MM/dd/yyyy HH:mm:ss" filled into the
// localised subtitle). Arrivals (type 1) are normal or late, departures (type 2) normal or early; any other
// type or state shows nothing. Pure; main thread.
//
//   if (auto texts = childcare::AttendanceRowTexts::of(*row)) cell->textLabel()->setText(texts->title);
#pragma once

#include "core/records/LumetDeviceConfig.h"

#include <optional>
#include <string>

namespace childcare {

struct AttendanceRowTexts {
    static constexpr int64_t Arrival = 1;
    static constexpr int64_t Departure = 2;
    static constexpr const char* Normal = "正常";
    static constexpr const char* Late = "迟到";
    static constexpr const char* Early = "早退";

    std::string iconName;
    std::string title;
    std::string subtitle;

    // Nothing for a row of an unknown type or state.
    [[nodiscard]] static std::optional<AttendanceRowTexts> of(const core::LumetDeviceConfig& row);
};

} // namespace childcare
