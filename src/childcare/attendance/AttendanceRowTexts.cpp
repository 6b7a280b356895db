#include "childcare/attendance/AttendanceRowTexts.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "core/readers/Tool.h"

#include <array>

namespace childcare {

namespace {

    struct Kind {
        int64_t type;
        const char* state;
        const char* iconName;
        const char* titleKey;
        const char* subtitleKey;
    };

    constexpr std::array<Kind, 4> kinds { {
        { AttendanceRowTexts::Arrival, AttendanceRowTexts::Normal, "kq_in.png", "normal_into_school",
            "time_goto_school" },
        { AttendanceRowTexts::Arrival, AttendanceRowTexts::Late, "kq_warn.png", "late_into_school",
            "time_goto_school" },
        { AttendanceRowTexts::Departure, AttendanceRowTexts::Normal, "kq_out.png", "leave_normal",
            "time_leave_school" },
        { AttendanceRowTexts::Departure, AttendanceRowTexts::Early, "kq_warn.png", "leave_early", "time_leave_school" },
    } };

} // namespace

std::optional<AttendanceRowTexts> AttendanceRowTexts::of(const core::LumetDeviceConfig& row)
{
    if (!row.type || !row.state)
        return std::nullopt;
    for (const Kind& kind : kinds) {
        if (kind.type != *row.type || *row.state != kind.state)
            continue;
        std::string time = row.dateTime ? core::Tool::stringFromDate(*row.dateTime) : std::string();
        return AttendanceRowTexts { kind.iconName,
            base::LocalizedFormat::format(base::localized(kind.titleKey), { *row.state }),
            base::LocalizedFormat::format(base::localized(kind.subtitleKey), { time }) };
    }
    return std::nullopt;
}

} // namespace childcare
