// childcare::ClassTimeSetVCDelegate: how the class-period screen hands back the period times the user has
// confirmed: the four whole lists (start hours, start minutes, end hours, end minutes; index = period - 1).
// Held weakly by the screen; a delegate that has gone hears nothing. Main thread.
//
//   void setTime(const Periods& startHour, const Periods& startMin, const Periods& endHour,
//       const Periods& endMin) override { copyIntoTimetable(...); save(); }
#pragma once

#include "base/values/Value.h"

#include <vector>

namespace childcare {

class ClassTimeSetVCDelegate {
public:
    using Periods = std::vector<base::Value>;

    virtual ~ClassTimeSetVCDelegate() = default;
    virtual void setTime(
        const Periods& startHour, const Periods& startMin, const Periods& endHour, const Periods& endMin)
        = 0;
};

} // namespace childcare
