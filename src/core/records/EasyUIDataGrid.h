// core::EasyUIDataGrid: a paged list reply: its rows and, where the service gives one, the total. The
// attendance reader fills the rows with attendance rows (LumetDeviceConfig). A plain record. Main thread.
//
//   auto grid = core::Tool::readCheckingLumetInHistoryFromJson(reply);
//   if (grid) for (const auto& row : grid->rows) sortIntoDay(*row);
#pragma once

#include "core/records/LumetDeviceConfig.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

struct EasyUIDataGrid {
    std::vector<std::shared_ptr<LumetDeviceConfig>> rows;
    int64_t total { 0 };
};

} // namespace core
