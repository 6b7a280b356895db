// The voice-messaging screens: the chat screen (the home screen's voice button), the sound-command panel
// (the menu's "sound_command" row) and the tour's pictures of the chat, of a recording under way and of the
// panel.
#include "base/system/UserDefaults.h"
#include "base/values/Dictionary.h"
#include "chat/ChatVC.h"
#include "chat/RecordButton.h"
#include "chat/RecordHUD.h"
#include "chat/SendSoundCommandVC.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/SettingsKeys.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/screens/FeatureScreens.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"

namespace shell {

namespace {

    std::shared_ptr<chat::ChatVC> chatOnTop()
    {
        return std::dynamic_pointer_cast<chat::ChatVC>(TourContext::topOfCentre());
    }

    // Opens the panel for the account's first device that takes sound commands.
    void openSoundCommandPanel()
    {
        auto account = base::UserDefaults::standard().stringForKey(core::SettingsKeys::LoginName2).value_or("");
        core::WebCall::post(core::ServiceProtocol::DeviceListMethod,
            base::Dictionary::make({ { core::ServiceProtocol::LoginNameKey, account } }),
            [](const std::string& reply) {
                for (const auto& row : core::Tool::readDeviceListFromJson(reply)) {
                    auto device = std::make_shared<core::Device>();
                    device->serialNumber = row->serialNumber;
                    device->deviceTypeID = row->deviceTypeID;
                    if (chat::SendSoundCommandVC::takesSoundCommands(device)) {
                        ScreenDirectory::shared().showPanel(ScreenDirectory::SoundCommand, device);
                        return;
                    }
                }
            },
            {});
    }

    // The menu's steps leave another screen in the centre: the home screen comes back first.
    void showHome()
    {
        TourContext::popToCentreRoot();
        TourContext::openMenuRow("home_page");
    }

    // Pushes the chat on the home screen once that is at rest with its record; whether the chat is on top.
    bool chatPushed()
    {
        if (chatOnTop())
            return true;
        if (TourContext::home() && TourContext::drawerAtRest(kit::DrawerSide::None))
            // The next check sees whether it is on top.
            (void)TourContext::pushOnHome(ScreenDirectory::Chat);
        return false;
    }

    // Holds the talk button down (on the scripted input where there is no microphone).
    bool recording()
    {
        auto screen = chatOnTop();
        if (!screen || !TourContext::networkIdle())
            return false;
        if (!chat::RecordHUD::shareView()->hasOverlayWindow()) {
            screen->voiceBtnClick();
            screen->speakBtn()->sendActionsForControlEvents(ui::ControlEvent::TouchDown);
        }
        return chat::RecordHUD::shareView()->hasOverlayWindow();
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add({ "chat", showHome, [] { return chatPushed() && TourContext::networkIdle(); },
            [] { TourContext::popToCentreRoot(); } });
        steps.add({ "chat-recording", showHome, [] { return chatPushed() && recording(); },
            [] {
                if (auto screen = chatOnTop())
                    screen->speakBtn()->sendActionsForControlEvents(ui::ControlEvent::TouchCancel);
                TourContext::popToCentreRoot();
            } });
        steps.add({ "sound-command", openSoundCommandPanel,
            [] { return ScreenDirectory::shownPanel() != nullptr && TourContext::networkIdle(); },
            [] { kit::ModalPresenter::sharedInstance()->hideAnimated(false); } });
    }

} // namespace

void registerChatScreens()
{
    auto& directory = ScreenDirectory::shared();
    directory.add(ScreenDirectory::Chat,
        [](const std::shared_ptr<core::Device>&, ScreenDirectory::Opening) { return chat::ChatVC::make(); });
    directory.addPanel(ScreenDirectory::SoundCommand,
        [](const std::shared_ptr<core::Device>& device) { return chat::SendSoundCommandVC::make(device); });
    addTourSteps();
}

} // namespace shell
