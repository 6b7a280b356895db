#include "childcare/device/DeviceOnAndOfEntity.h"

#include "base/loop/MainThread.h"

#include <cctype>
#include <string_view>

namespace childcare {

namespace {

    // The number of one or two digits at the front of `text`, consumed; nothing when there is none.
    std::optional<int64_t> takeNumber(std::string_view& text, size_t maxDigits)
    {
        size_t digits = 0;
        int64_t value = 0;
        while (digits < text.size() && digits < maxDigits && std::isdigit(static_cast<unsigned char>(text[digits]))) {
            value = value * 10 + (text[digits] - '0');
            ++digits;
        }
        if (!digits)
            return std::nullopt;
        text.remove_prefix(digits);
        return value;
    }

} // namespace

DeviceOnAndOfEntity::TimeOfDay DeviceOnAndOfEntity::parsePowerTime(const core::ConfigText& configText)
{
    BASE_ASSERT_MAIN_THREAD();
    std::string_view text = configText.text();
    auto hour = takeNumber(text, 2);
    if (!hour || text.empty() || text.front() != ':')
        return {};
    text.remove_prefix(1);
    if (text.size() != 2)
        return {};
    auto minute = takeNumber(text, 2);
    if (!minute || *hour > 23 || *minute > 59)
        return {};
    return { *hour, *minute };
}

std::shared_ptr<DeviceOnAndOfEntity> DeviceOnAndOfEntity::fromDevice(const core::Device* device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto entity = std::make_shared<DeviceOnAndOfEntity>();
    const core::LumetDeviceConfig* config = device ? device->lumetDeviceConfig.get() : nullptr;
    TimeOfDay on = config ? parsePowerTime(config->powerOnTime) : TimeOfDay {};
    TimeOfDay off = config ? parsePowerTime(config->powerOffTime) : TimeOfDay {};
    entity->onHour = on.hour;
    entity->onMin = on.minute;
    entity->offHour = off.hour;
    entity->offMin = off.minute;
    if (config)
        entity->powerState = config->powerState;
    return entity;
}

} // namespace childcare
