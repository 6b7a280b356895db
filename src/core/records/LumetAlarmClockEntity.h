// core::LumetAlarmClockEntity: one alarm of a watch: on or off, and its hour and minute as the service sent
// them. A plain record, edited in place by the alarm-clock screens. Main thread.
//
//   alarm->isOpen = 1; alarm->h = base::Value(7); alarm->m = base::Value(30);
#pragma once

#include "base/values/Value.h"

#include <cstdint>
#include <optional>

namespace core {

struct LumetAlarmClockEntity {
    // Non-zero: the alarm is on.
    int64_t isOpen { 0 };
    std::optional<base::Value> h;
    std::optional<base::Value> m;
};

} // namespace core
