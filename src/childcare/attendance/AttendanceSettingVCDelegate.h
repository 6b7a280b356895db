// childcare::AttendanceSettingVCDelegate: the screen that uploads the school times picked on the attendance
// settings screen (the attendance screen). Each call carries the picked time as "HH:mm". Kept weakly. Main
// thread.
//
//   void uploadInTime(const std::string& time) override { send("LumetUpdateEnterCampusTime", time); }
#pragma once

#include <string>

namespace childcare {

class AttendanceSettingVCDelegate {
public:
    virtual ~AttendanceSettingVCDelegate() = default;
    virtual void uploadInTime(const std::string& time) = 0;
    virtual void uploadOutTime(const std::string& time) = 0;
};

} // namespace childcare
