#include "security/ItemKeys.h"

#include <algorithm>
#include <array>

namespace security {

bool isAccessibilityValue(std::string_view text)
{
    static constexpr std::array<std::string_view, 7> values { AccessibleWhenUnlocked, AccessibleAfterFirstUnlock,
        AccessibleAlways, AccessibleWhenPasscodeSetThisDeviceOnly, AccessibleWhenUnlockedThisDeviceOnly,
        AccessibleAfterFirstUnlockThisDeviceOnly, AccessibleAlwaysThisDeviceOnly };
    return std::find(values.begin(), values.end(), text) != values.end();
}

} // namespace security
