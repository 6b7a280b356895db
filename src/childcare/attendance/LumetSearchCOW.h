// childcare::LumetSearchCOW: the fields of one attendance record as the service names them. Nothing fills it:
// the attendance reader hands attendance rows over as core::LumetDeviceConfig records, and the name is
// also that of the web method that lists them. A plain record. Main thread.
//
//   childcare::LumetSearchCOW record;
//   record.state = "正常";
#pragma once

#include "base/time/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace childcare {

struct LumetSearchCOW {
    std::optional<std::string> id_;
    std::optional<std::string> serialnumber;
    std::optional<int64_t> type;
    std::optional<base::Date> time;
    std::optional<std::string> state;
    std::optional<std::string> code;
    std::optional<std::string> ty;
};

} // namespace childcare
