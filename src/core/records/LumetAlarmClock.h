// core::LumetAlarmClock: the alarm clocks of one watch, read from "LumetGetalarmclock". A plain record. Main
// thread.
//
//   auto clocks = core::Tool::readAlarmClockFromJson(reply);
//   for (const auto& alarm : clocks->dataList) addRow(*alarm);
#pragma once

#include "core/records/LumetAlarmClockEntity.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace core {

struct LumetAlarmClock {
    std::optional<std::string> id_;
    std::vector<std::shared_ptr<LumetAlarmClockEntity>> dataList;
};

} // namespace core
