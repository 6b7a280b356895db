#include "settings/personal/PersonalInfoRows.h"

#include <algorithm>

namespace settings {

namespace {

    bool isOneOf(int64_t type, std::initializer_list<int64_t> types)
    {
        return std::find(types.begin(), types.end(), type) != types.end();
    }

    size_t accountRowCount(int64_t type)
    {
        if (isOneOf(type, { 36, 40, 43, 44 }))
            return 5;
        if (type == 27)
            return 3;
        if (type == 41)
            return 2;
        return 4;
    }

} // namespace

std::vector<PersonalInfoRow> PersonalInfoRows::ofSection(int section, int64_t deviceType)
{
    using Row = PersonalInfoRow;
    switch (section) {
    case 0:
        return { Row::DeviceName };
    case 1: {
        std::vector<Row> rows { Row::ChangePassword, Row::RestoreDevice, Row::SleepTimer, Row::RemotePower,
            isOneOf(deviceType, { 43, 44 }) ? Row::KeyLock : Row::Firewall };
        rows.resize(accountRowCount(deviceType));
        return rows;
    }
    case 2:
        return { Row::ClearCache, Row::MessagePush, Row::Feedback, Row::About };
    default:
        return {};
    }
}

const char* PersonalInfoRows::headerKey(int section)
{
    switch (section) {
    case 0:
        return "device_info";
    case 1:
        return "num_bind";
    case 2:
        return "app_setting";
    default:
        return "";
    }
}

const char* PersonalInfoRows::titleKey(PersonalInfoRow row)
{
    switch (row) {
    case PersonalInfoRow::DeviceName:
        return "device_name";
    case PersonalInfoRow::ChangePassword:
        return "change_password";
    case PersonalInfoRow::RestoreDevice:
        return "restore_device";
    case PersonalInfoRow::SleepTimer:
        return "sleep_timer";
    case PersonalInfoRow::RemotePower:
        return "remote_power_manage";
    case PersonalInfoRow::KeyLock:
        return "btn_lock";
    case PersonalInfoRow::Firewall:
        return "firewall_switch";
    case PersonalInfoRow::ClearCache:
        return "clear_cache";
    case PersonalInfoRow::MessagePush:
        return "message_push";
    case PersonalInfoRow::Feedback:
        return "feed_back";
    case PersonalInfoRow::About:
        return "about";
    }
    return "";
}

bool PersonalInfoRows::hasLogoutButton(int64_t deviceType) { return isOneOf(deviceType, { 41, 43, 44 }); }

bool PersonalInfoRows::firewallIsOn(const core::Device* device)
{
    const auto* config = device ? device->lumetDeviceConfig.get() : nullptr;
    if (!config || !config->fangHuoQiang)
        return true;
    return !config->fangHuoQiang->isNull() && config->fangHuoQiang->text() != "false";
}

} // namespace settings
