// childcare::LumetPedometerCur: one pedometer reading of a watch, as the service describes it. A plain
// record with no behaviour of its own; the step poll reads the bare step count instead, so nothing fills one
// yet. Main thread.
//
//   childcare::LumetPedometerCur reading;
//   reading.finishValue = 3000;
#pragma once

#include "base/time/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace childcare {

struct LumetPedometerCur {
    std::optional<std::string> _id;
    std::optional<std::string> serialNumber;
    std::optional<int64_t> finishValue;
    std::optional<base::Date> uDate;
    bool isOpen { false };
    std::optional<double> distant;
    std::optional<double> heat;
    std::optional<std::string> strLength;
    std::optional<base::Date> startTime;
};

} // namespace childcare
