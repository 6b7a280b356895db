// shell::registerFeatureScreens: enters every feature screen into the ScreenDirectory, with its panels and
// its tour steps (TourSteps). Each group of screens registers itself in a function of its own file
// (<Group>Screens.cpp) and nowhere else; the start-up and the screen tests call registerFeatureScreens once
// before any screen is opened. Registering again replaces the earlier factories and tour steps.
// Main thread.
//
//   shell::registerFeatureScreens();
//   auto screen = shell::ScreenDirectory::shared().make(shell::ScreenDirectory::Chat, device, Opening::Pushed);
#pragma once

namespace shell {

void registerFeatureScreens();

void registerChatScreens();
void registerSettingsScreens();
void registerNumberScreens();
void registerPhoneBookScreens();
void registerAttendanceScreens();
void registerScheduleScreens();
void registerChallengeScreens();
void registerPurchaseScreens();
// The home screen's own screens (device list, message detail) have tour steps only.
void registerMonitoringScreens();

} // namespace shell
