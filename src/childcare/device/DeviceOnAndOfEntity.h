// childcare::DeviceOnAndOfEntity: the power schedule of a watch: the times of day at which it switches itself
// on and off, and whether the schedule is in force. The settings centre builds one from the device's
// configuration when its view loads and hands the same object to the power schedule screen, whose pickers
// write into it at once; the settings centre's switch then sends whatever it holds. Each value is empty
// until set. Main thread.
//
//   auto schedule = childcare::DeviceOnAndOfEntity::fromDevice(device.get());
//   schedule->onHour = 7;
#pragma once

#include "core/records/ConfigText.h"
#include "core/records/Device.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace childcare {

struct DeviceOnAndOfEntity {
    std::optional<int64_t> onHour;
    std::optional<int64_t> onMin;
    std::optional<int64_t> offHour;
    std::optional<int64_t> offMin;
    // 1 the schedule is in force, 0 it is not; empty when the device gave none.
    std::optional<int64_t> powerState;

    struct TimeOfDay {
        int64_t hour { 0 };
        int64_t minute { 0 };
    };
    // A power time of the form "H:mm" or "HH:mm" (hour 0-23, minute 0-59); blank, null or unreadable
    // text gives 0:00, so the pickers start at midnight.
    static TimeOfDay parsePowerTime(const core::ConfigText& text);

    // A new schedule from the device's watch configuration; no device or configuration gives 0:00 for both
    // times and no power state.
    static std::shared_ptr<DeviceOnAndOfEntity> fromDevice(const core::Device* device);
};

} // namespace childcare
