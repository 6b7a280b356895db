// settings::PersonalInfoRows: which rows the settings centre shows, by the type of the stored current
// device (0 when none is stored): the device name; then the account and device rows of "num_bind", as many
// as the type allows, the fifth being the key lock for types 43 and 44 and the firewall for 36 and 40; then
// the application rows. Also which types get the logout button, and how the firewall switch is drawn. Pure; any thread.
//
//   auto rows = settings::PersonalInfoRows::ofSection(1, deviceType);
//   if (rows[path.row] == settings::PersonalInfoRow::SleepTimer) openSchedule();
#pragma once

#include "core/records/Device.h"

#include <cstdint>
#include <vector>

namespace settings {

enum class PersonalInfoRow {
    DeviceName,
    ChangePassword,
    RestoreDevice,
    SleepTimer,
    RemotePower,
    KeyLock,
    Firewall,
    ClearCache,
    MessagePush,
    Feedback,
    About,
};

class PersonalInfoRows {
public:
    static constexpr int sectionCount = 3;

    static std::vector<PersonalInfoRow> ofSection(int section, int64_t deviceType);
    // The localised title's key of the section's header; "" for a section that does not exist.
    static const char* headerKey(int section);
    // The localisation key of a row's text.
    static const char* titleKey(PersonalInfoRow row);
    // Types 41, 43 and 44 offer logging out from the settings centre's bar.
    static bool hasLogoutButton(int64_t deviceType);
    // The firewall switch is on for any value but null or "false" (also an empty or absent one, and a device
    // without a watch configuration).
    [[nodiscard]] static bool firewallIsOn(const core::Device* device);
};

} // namespace settings
