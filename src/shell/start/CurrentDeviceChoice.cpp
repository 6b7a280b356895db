#include "shell/start/CurrentDeviceChoice.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "core/messages/DBManager.h"
#include "core/state/NotificationNames.h"
#include "core/state/Singleton.h"

#include <algorithm>

namespace shell {

std::shared_ptr<core::MobileDeviceAndLocation> chooseCurrentDevice(
    const std::vector<std::shared_ptr<core::MobileDeviceAndLocation>>& devices)
{
    BASE_ASSERT_MAIN_THREAD();
    if (devices.empty())
        return nullptr;
    auto chosen = devices.front();
    if (auto stored = core::DBManager::readSingleMobileDevice(); stored && stored->serialNumber) {
        auto found = std::find_if(devices.begin(), devices.end(),
            [&](const auto& device) { return device->serialNumber == stored->serialNumber; });
        if (found != devices.end())
            chosen = *found;
    }
    makeCurrentDevice(*chosen);
    return chosen;
}

void makeCurrentDevice(const core::MobileDeviceAndLocation& device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto& state = core::Singleton::shared();
    state.setLastSerialnumber(device.serialNumber.value_or(""));
    state.setDeviceTypeID(device.deviceTypeID);
    // The detail record of an earlier device must not pass for this one's; the home screen reads it anew.
    state.setDeviceDetail(nullptr);
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::CurrentDeviceChanged);
}

void storeCurrentDevice(const core::MobileDeviceAndLocation& chosen)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!core::DBManager::saveOrUpdataMobileDeviceDB(chosen))
        base::log("device choice: the chosen device could not be stored; it is chosen for this run");
}

} // namespace shell
