#include "shell/screens/FeatureScreens.h"

#include "base/loop/MainThread.h"

namespace shell {

void registerFeatureScreens()
{
    BASE_ASSERT_MAIN_THREAD();
    registerChatScreens();
    registerSettingsScreens();
    registerNumberScreens();
    registerPhoneBookScreens();
    registerAttendanceScreens();
    registerScheduleScreens();
    registerChallengeScreens();
    registerPurchaseScreens();
    registerMonitoringScreens();
}

} // namespace shell
