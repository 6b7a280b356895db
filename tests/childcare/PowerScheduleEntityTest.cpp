// The power schedule built from a device's configuration: how the "HH:mm" times read, and what a device
// without a configuration or a power state gives.
#include "childcare/device/DeviceOnAndOfEntity.h"

#include <gtest/gtest.h>

namespace {

using childcare::DeviceOnAndOfEntity;

std::pair<int64_t, int64_t> parsed(core::ConfigText text)
{
    auto time = DeviceOnAndOfEntity::parsePowerTime(text);
    return { time.hour, time.minute };
}

std::shared_ptr<core::Device> watch(core::ConfigText on, core::ConfigText off, std::optional<int64_t> state)
{
    auto device = std::make_shared<core::Device>();
    device->lumetDeviceConfig = std::make_shared<core::LumetDeviceConfig>();
    device->lumetDeviceConfig->powerOnTime = std::move(on);
    device->lumetDeviceConfig->powerOffTime = std::move(off);
    device->lumetDeviceConfig->powerState = state;
    return device;
}

TEST(PowerScheduleEntity, ReadsHoursAndMinutesOfOneOrTwoDigitHours)
{
    EXPECT_EQ(parsed("07:05"), std::make_pair(int64_t(7), int64_t(5)));
    EXPECT_EQ(parsed("7:05"), std::make_pair(int64_t(7), int64_t(5)));
    EXPECT_EQ(parsed("23:59"), std::make_pair(int64_t(23), int64_t(59)));
    EXPECT_EQ(parsed("00:00"), std::make_pair(int64_t(0), int64_t(0)));
}

TEST(PowerScheduleEntity, BlankNullOrUnreadableTimesStartAtMidnight)
{
    for (const core::ConfigText& text : { core::ConfigText(""), core::ConfigText::null(), core::ConfigText(" "),
             core::ConfigText("24:00"), core::ConfigText("12:60"), core::ConfigText("7:5"), core::ConfigText("123:00"),
             core::ConfigText("07:05:00"), core::ConfigText("ab:cd"), core::ConfigText(":30"),
             core::ConfigText("-1:30") })
        EXPECT_EQ(parsed(text), std::make_pair(int64_t(0), int64_t(0))) << text.text();
}

TEST(PowerScheduleEntity, TakesTheTimesAndThePowerStateOfTheConfiguration)
{
    auto entity = DeviceOnAndOfEntity::fromDevice(watch("07:05", "", 1).get());
    EXPECT_EQ(entity->onHour, 7);
    EXPECT_EQ(entity->onMin, 5);
    EXPECT_EQ(entity->offHour, 0);
    EXPECT_EQ(entity->offMin, 0);
    EXPECT_EQ(entity->powerState, 1);
}

TEST(PowerScheduleEntity, ADeviceWithoutPowerStateLeavesItEmpty)
{
    EXPECT_FALSE(DeviceOnAndOfEntity::fromDevice(watch("21:30", "06:45", std::nullopt).get())->powerState);

    auto bare = std::make_shared<core::Device>();
    auto entity = DeviceOnAndOfEntity::fromDevice(bare.get());
    EXPECT_FALSE(entity->powerState);
    EXPECT_EQ(entity->onHour, 0);
    EXPECT_EQ(entity->offMin, 0);
    EXPECT_FALSE(DeviceOnAndOfEntity::fromDevice(nullptr)->powerState);
}

} // namespace
