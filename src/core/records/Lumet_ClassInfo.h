// core::Lumet_ClassInfo: a watch's class timetable, read from "LumetGetClassInfo": the number of lessons a
// day, the timetable lock, the period times of each lesson and, for each day, its lessons (index = lesson
// number - 1). A plain record, edited in place by the class schedule and sent back whole. Main thread.
//
//   auto timetable = core::Tool::getClassInfoFromJson(reply);
//   auto rows = core::Tool::getSubmitArr(timetable.get()); // the "Lumet_ClassInfoEntity" rows to send
#pragma once

#include "base/values/Value.h"
#include "core/records/Lumet_ClassInfoWeek.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace core {

struct Lumet_ClassInfo {
    static constexpr int64_t LessonsPerDay = 8;

    int64_t total { 0 };
    // 1 lock on, 0 off.
    int64_t state { 0 };
    // One entry per lesson: hours as the service sent them ("0" for a lesson without a period), minutes as
    // two-digit texts ("00" likewise).
    std::vector<base::Value> start_H;
    std::vector<base::Value> start_M;
    std::vector<base::Value> end_H;
    std::vector<base::Value> end_M;
    // arr[0] Monday to arr[6] Sunday.
    std::array<std::vector<std::shared_ptr<Lumet_ClassInfoWeek>>, 7> arr;
};

} // namespace core
