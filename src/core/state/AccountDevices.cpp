#include "core/state/AccountDevices.h"

#include "base/loop/MainThread.h"

namespace core {

namespace {

    std::map<std::string, int64_t>& known()
    {
        static std::map<std::string, int64_t> types;
        return types;
    }

} // namespace

const std::map<std::string, int64_t>& AccountDevices::types()
{
    BASE_ASSERT_MAIN_THREAD();
    return known();
}

void AccountDevices::remember(const std::vector<std::shared_ptr<MobileDeviceAndLocation>>& devices)
{
    forget();
    for (const auto& device : devices) {
        if (device && device->serialNumber && device->deviceTypeID)
            known().emplace(*device->serialNumber, *device->deviceTypeID);
    }
}

void AccountDevices::forget()
{
    BASE_ASSERT_MAIN_THREAD();
    known().clear();
}

} // namespace core
