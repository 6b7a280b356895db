// shell::MainMenuVC: the home screen, the root of the navigation controller in the drawer's centre. It shows
// the current device: its name in the bar, its serial number and whether it is switched on. Each time it
// comes on screen it asks "GetDeviceDetial" for Singleton's current serial number (or has just asked, ahead
// of its appearance: requestDeviceDetailAhead); a reply it can read becomes its device detail and
// Singleton's, and is posted as "posetDevice"; one that cannot be read, or a failed request, is said
// (core::LoadFailureNotice). While on screen, or while the message detail it pushed shows (which starts and
// stops it), it asks for messages ("PopManyQueryMessage") and asks again 2 s after each reply or failure,
// storing what comes by the message rule (IncomingMessages); the asking stops when it leaves the screen, and
// a reply that comes back after that starts nothing new.
//
// It holds the places that later screens plug into, each opening its screen from the ScreenDirectory with
// the device detail, pushed on its navigation controller: the right-hand bar button (Attendance), the voice
// button for devices of type 36, 40, 43 and 44 (Chat), the function button with tag 13 (Interaction), and,
// for every type but 41, the family-number button in the middle of the bottom bar with its turning "+". The
// family-number button (settings::ImageAnimate) fans out the quick-number buttons and folds them again; a
// tap anywhere else on the home view, or Escape, folds an open fan. The types are those of the stored current-device
// row. The bar's left button toggles the drawer.
//
// While it holds no record of the current device (the last request failed, or its reply could not be read),
// the state line says that the detail could not be loaded, it asks again each time the service answers a
// message poll, and a tap on a button that needs the record says why there is none ("bad_netword" when the
// service was not reached, "load_failed" when it answered) and asks again; each failure is posted as
// "LumetDeviceDetailNotLoaded" for the family-number fan. A failure that comes for a device no longer current
// is dropped, as its record would be.
//
// Under the device card, the devices button pushes the account's device list (DeviceListVC): the device
// picked there becomes the current device as at sign-in, and the home screen asks "GetDeviceDetial" for it at
// once (a reply for a device no longer current is dropped). The messages button pushes the message detail
// (MessageInfoVC), whose watch voice messages the home screen plays with a voice::RecordAudio of its own,
// fetched once into the message folder under the chat cell's cache name. Main thread; made with make().
//
//   auto home = shell::MainMenuVC::make();
//   auto navigation = shell::NavViewController::withRootViewController(home);
#pragma once

#include "base/time/Clock.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "core/records/Device.h"
#include "core/records/MobileDeviceAndLocation.h"
#include "gfx/geometry/Rect.h"
#include "settings/numbers/ImageAnimate.h"
#include "ui/controllers/ViewController.h"
#include "ui/input/GestureRecognizerDelegate.h"

#include <memory>
#include <string>

namespace voice {
class RecordAudio;
class RecordAudioDelegate;
}
namespace ui {
class Button;
class ImageView;
class Label;
class View;
}

namespace shell {

class MainMenuVC : public ui::ViewController, public ui::GestureRecognizerDelegate {
public:
    static constexpr base::Duration messagePollDelay { 2.0 };
    static constexpr double bottomBarHeight = 49;
    static constexpr int functionButtonTag = 13;
    // In the bottom bar's coordinates.
    static constexpr gfx::Rect familyNumberFrame { 120, -15, 70, 70 };
    static constexpr gfx::Rect familyNumberSignFrame { 147, 12, 15, 15 };
    // A quarter turn of the "+" takes this long, again and again.
    static constexpr double signQuarterTurnDuration = 3;

    static std::shared_ptr<MainMenuVC> make();
    ~MainMenuVC() override;

    // The last device detail read; empty before the first reply.
    const std::shared_ptr<core::Device>& deviceDetail() const { return m_deviceDetail; }
    bool isPollingMessages() const { return m_polling; }
    void startPolling();
    void stopPolling();

    const std::shared_ptr<ui::Button>& voiceButton();
    // Its tag tells whether the fan is out (1) or folded (0).
    const std::shared_ptr<settings::ImageAnimate>& familyNumberButton();
    const std::shared_ptr<ui::Button>& functionButton();
    const std::shared_ptr<ui::Button>& deviceListButton();
    const std::shared_ptr<ui::Button>& messagesButton();
    // Sends the "GetDeviceDetial" of its next appearance now, so that the service works while the screen is
    // shown; that appearance then sends none of its own.
    void requestDeviceDetailAhead();
    // Pushes the named screen of the ScreenDirectory with the device detail. Without the detail it says why
    // and asks for it again.
    void pushScreen(const std::string& name);
    void openDeviceList();
    void openMessageDetail();
    // Makes the device current, as the sign-in makes its choice, and reads its detail record.
    void deviceChosen(const core::MobileDeviceAndLocation& device);
    // Plays a watch's voice message, by its file name on the server. A call for the message that plays stops
    // it, one for the message whose file is still on its way does nothing more; one for another message plays
    // that one instead. `listener` hears the statuses of that playback (started, and ended or failed).
    void playVoiceMessage(const std::string& fileName, std::weak_ptr<voice::RecordAudioDelegate> listener = {});
    void stopPlay();
    const std::shared_ptr<voice::RecordAudio>& recordAudio() const { return m_recordAudio; }
    // The family-number button's action: fans out (tag 0) or folds (tag 1).
    void setNumber();
    // A tap on the home view away from its buttons: folds an open fan.
    void touchOnMap();
    // Escape folds an open fan, as a tap beside it does.
    bool performEscape() override;
    bool gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer& recognizer, const ui::Touch& touch) override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

private:
    void buildNavigationItems();
    void buildDeviceCard();
    void buildBottomBar();
    void buildScreenButtons();
    void play(const base::Data& amr, std::weak_ptr<voice::RecordAudioDelegate> listener);
    void buildFamilyNumberButton(ui::View& bar);
    // Whether a failure of the request is shown as a notice (it is not when the request only tries again).
    enum class FailureNotice { Shown, Quiet };

    void showDevice();
    void requestDeviceDetail(FailureNotice notice = FailureNotice::Shown);
    void deviceDetailArrived(std::shared_ptr<core::Device> device, FailureNotice notice);
    void deviceDetailFailed(const base::Error* error, FailureNotice notice);
    void pollMessages();
    void pollFinished(bool answered);

    std::shared_ptr<core::Device> m_deviceDetail;
    bool m_polling { false };
    bool m_pollInFlight { false };
    bool m_detailRequestedAhead { false };
    int m_detailRequestsOnTheirWay { 0 };
    // The localisation key of why the last request for the current device's detail failed; empty when none has
    // failed since it was made current or read.
    std::string m_detailFailure;
    std::shared_ptr<ui::ImageView> m_deviceImage;
    std::shared_ptr<ui::Label> m_nameLabel;
    std::shared_ptr<ui::Label> m_serialLabel;
    std::shared_ptr<ui::Label> m_stateLabel;
    std::shared_ptr<ui::Button> m_voiceButton;
    std::shared_ptr<settings::ImageAnimate> m_familyNumberButton;
    std::shared_ptr<ui::ImageView> m_familyNumberSign;
    std::shared_ptr<ui::Button> m_functionButton;
    std::shared_ptr<ui::Button> m_deviceListButton;
    std::shared_ptr<ui::Button> m_messagesButton;
    std::shared_ptr<voice::RecordAudio> m_recordAudio;
    // The voice message being fetched or played; empty when none.
    std::string m_playingFile;
    // Whether that message's file is still on its way.
    bool m_fetchingFile { false };
};

} // namespace shell
