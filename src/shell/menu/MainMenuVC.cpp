#include "shell/menu/MainMenuVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/text/Localization.h"
#include "chat/VoiceFileCache.h"
#include "core/helpers/Helper.h"
#include "core/helpers/LoadFailureNotice.h"
#include "core/messages/DBManager.h"
#include "core/messages/IncomingMessages.h"
#include "core/readers/Tool.h"
#include "core/service/WebCall.h"
#include "core/state/NotificationNames.h"
#include "core/state/Singleton.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "settings/numbers/ImageAnimate.h"
#include "shell/devices/DeviceListVC.h"
#include "shell/messages/MessageInfoVC.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/start/CurrentDeviceChoice.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationItem.h"
#include "ui/input/TapGestureRecognizer.h"
#include "ui/input/Touch.h"
#include "voice/RecordAudio.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace shell {

namespace {

    constexpr gfx::Color background = gfx::Color::rgb(0.94, 0.95, 0.93);
    constexpr gfx::Color switchedOn = gfx::Color::rgb(0.35, 0.62, 0.03);
    constexpr int64_t carTrackerType = 41;
    constexpr int64_t voiceTypes[] = { 36, 40, 43, 44 };
    constexpr int64_t watchTypes[] = { 27, 36, 40, 43, 44 };
    constexpr const char* signTurnKey = "turn";

    bool isOneOf(std::optional<int64_t> type, const auto& types)
    {
        return type && std::find(std::begin(types), std::end(types), *type) != std::end(types);
    }

    // The type of the stored current-device row, which decides the voice and family-number places.
    std::optional<int64_t> storedDeviceType()
    {
        auto stored = core::DBManager::readSingleMobileDevice();
        return stored ? stored->deviceTypeID : std::nullopt;
    }

    std::shared_ptr<ui::Label> makeLabel(const gfx::Rect& frame, const gfx::Font& font, gfx::Color color)
    {
        auto label = std::make_shared<ui::Label>(frame);
        label->setFont(font);
        label->setTextColor(color);
        label->setTextAlignment(gfx::TextAlignment::Center);
        return label;
    }

    std::shared_ptr<ui::Button> makeScreenButton(const gfx::Rect& frame, const char* titleKey)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setBackgroundColor(gfx::Color::white());
        button->layer()->setCornerRadius(8);
        button->setTitle(base::localized(titleKey), ui::ControlState::Normal);
        button->setTitleColor(switchedOn, ui::ControlState::Normal);
        button->titleLabel()->setFont(gfx::Font::boldSystem(15));
        return button;
    }

    std::shared_ptr<ui::Button> makeBarButton(const gfx::Rect& frame, const char* imageName)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setImage(gfx::Image::named(imageName), ui::ControlState::Normal);
        return button;
    }

} // namespace

std::shared_ptr<MainMenuVC> MainMenuVC::make() { return std::make_shared<MainMenuVC>(); }

MainMenuVC::~MainMenuVC()
{
    stopPolling();
    stopPlay();
}

const std::shared_ptr<ui::Button>& MainMenuVC::voiceButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_voiceButton;
}

const std::shared_ptr<settings::ImageAnimate>& MainMenuVC::familyNumberButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_familyNumberButton;
}

const std::shared_ptr<ui::Button>& MainMenuVC::functionButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_functionButton;
}

const std::shared_ptr<ui::Button>& MainMenuVC::deviceListButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_deviceListButton;
}

const std::shared_ptr<ui::Button>& MainMenuVC::messagesButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_messagesButton;
}

void MainMenuVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    view()->setBackgroundColor(background);
    buildNavigationItems();
    buildDeviceCard();
    buildScreenButtons();
    buildBottomBar();
}

void MainMenuVC::buildNavigationItems()
{
    setTitle(base::localized("home_page"));
    auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
        auto self = weak.lock();
        if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
            drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
    });
    navigationItem()->setLeftBarButtonItem(toggle);
    auto attendance = std::make_shared<ui::BarButtonItem>(gfx::Image::named("home_attendance"),
        ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->pushScreen(ScreenDirectory::Attendance);
        });
    navigationItem()->setRightBarButtonItem(attendance);
}

void MainMenuVC::buildDeviceCard()
{
    gfx::Rect bounds = view()->bounds();
    auto card = std::make_shared<ui::View>(gfx::Rect { 16, 84, bounds.width() - 32, 236 });
    card->setBackgroundColor(gfx::Color::white());
    card->layer()->setCornerRadius(10);
    double width = card->bounds().width();

    m_deviceImage = std::make_shared<ui::ImageView>(gfx::Rect { (width - 96) / 2, 20, 96, 96 });
    card->addSubview(m_deviceImage);
    m_nameLabel = makeLabel({ 10, 126, width - 20, 28 }, gfx::Font::boldSystem(20), gfx::Color::black());
    card->addSubview(m_nameLabel);
    m_serialLabel = makeLabel({ 10, 158, width - 20, 20 }, gfx::Font::system(14), gfx::Color::darkGray());
    card->addSubview(m_serialLabel);
    m_stateLabel = makeLabel({ 10, 186, width - 20, 24 }, gfx::Font::boldSystem(15), switchedOn);
    card->addSubview(m_stateLabel);
    view()->addSubview(card);
}

void MainMenuVC::buildScreenButtons()
{
    double width = (view()->bounds().width() - 32 - 12) / 2;
    m_deviceListButton = makeScreenButton({ 16, 336, width, 44 }, "device_list");
    m_deviceListButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->openDeviceList();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_deviceListButton);
    m_messagesButton = makeScreenButton({ 16 + width + 12, 336, width, 44 }, "message_detail");
    m_messagesButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->openMessageDetail();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_messagesButton);
}

void MainMenuVC::buildBottomBar()
{
    gfx::Rect bounds = view()->bounds();
    auto bar = std::make_shared<ui::View>(
        gfx::Rect { 0, bounds.height() - bottomBarHeight, bounds.width(), bottomBarHeight });
    bar->setBackgroundColor(gfx::Color::white());
    auto line = std::make_shared<ui::View>(gfx::Rect { 0, 0, bounds.width(), 0.5 });
    line->setBackgroundColor(gfx::Color::lightGray());
    bar->addSubview(line);

    m_voiceButton = makeBarButton({ 20, 2, 80, 45 }, "home_voice");
    m_voiceButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->pushScreen(ScreenDirectory::Chat);
        },
        ui::ControlEvent::TouchUpInside);
    bar->addSubview(m_voiceButton);

    m_functionButton = makeBarButton({ bounds.width() - 100, 2, 80, 45 }, "home_interaction");
    m_functionButton->setTag(functionButtonTag);
    m_functionButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->pushScreen(ScreenDirectory::Interaction);
        },
        ui::ControlEvent::TouchUpInside);
    bar->addSubview(m_functionButton);

    buildFamilyNumberButton(*bar);
    m_familyNumberSign = std::make_shared<ui::ImageView>(gfx::Image::named("center_add"));
    m_familyNumberSign->setFrame(familyNumberSignFrame);
    m_familyNumberSign->setUserInteractionEnabled(false);
    auto turn = std::make_shared<ui::BasicAnimation>("transform.rotation.z");
    const std::optional<ui::AnimatableValue> quarterTurn { M_PI / 2 };
    turn->setByValue(quarterTurn);
    turn->setDuration(signQuarterTurnDuration);
    turn->setCumulative(true);
    turn->setRepeatCount(std::numeric_limits<double>::infinity());
    m_familyNumberSign->layer()->addAnimation(turn, signTurnKey);
    bar->addSubview(m_familyNumberSign);

    view()->addSubview(bar);
}

void MainMenuVC::buildFamilyNumberButton(ui::View& bar)
{
    m_familyNumberButton = settings::ImageAnimate::make(view());
    m_familyNumberButton->setFrame(familyNumberFrame);
    m_familyNumberButton->setImage(gfx::Image::named("center"), ui::ControlState::Normal);
    m_familyNumberButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->setNumber();
        },
        ui::ControlEvent::TouchUpInside);
    bar.addSubview(m_familyNumberButton);

    // Stands for a touch on the map: lets the touch through to what lies under it.
    auto tap = std::make_shared<ui::TapGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->touchOnMap();
    });
    tap->setCancelsTouchesInView(false);
    tap->setDelegate(std::weak_ptr<ui::GestureRecognizerDelegate>(ui::sharedFrom(this)));
    view()->addGestureRecognizer(tap);
}

void MainMenuVC::setNumber()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_familyNumberButton->tag() == 0) {
        m_familyNumberButton->TapAnimation();
        m_familyNumberButton->setTag(1);
    } else if (m_familyNumberButton->tag() == 1) {
        m_familyNumberButton->HiddenAllView();
        m_familyNumberButton->setTag(0);
    }
}

void MainMenuVC::touchOnMap()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_familyNumberButton->tag() != 1)
        return;
    m_familyNumberButton->HiddenAllView();
    m_familyNumberButton->setTag(0);
}

bool MainMenuVC::performEscape()
{
    BASE_ASSERT_MAIN_THREAD();
    if (ViewController::performEscape())
        return true;
    if (!m_familyNumberButton || m_familyNumberButton->tag() != 1)
        return false;
    touchOnMap();
    return true;
}

bool MainMenuVC::gestureRecognizerShouldReceiveTouch(ui::GestureRecognizer&, const ui::Touch& touch)
{
    BASE_ASSERT_MAIN_THREAD();
    // Buttons (the fan's own among them) answer their touches themselves.
    for (auto hit = touch.view(); hit && hit != view(); hit = hit->superview()) {
        if (std::dynamic_pointer_cast<ui::Control>(hit))
            return false;
    }
    return true;
}

void MainMenuVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    auto type = storedDeviceType();
    m_voiceButton->setHidden(!isOneOf(type, voiceTypes));
    bool familyPanel = type != carTrackerType;
    m_familyNumberButton->setHidden(!familyPanel);
    m_familyNumberSign->setHidden(!familyPanel);
    showDevice();
    if (!std::exchange(m_detailRequestedAhead, false))
        requestDeviceDetail();
}

void MainMenuVC::viewDidAppear(bool) { startPolling(); }

void MainMenuVC::startPolling()
{
    BASE_ASSERT_MAIN_THREAD();
    m_polling = true;
    if (!m_pollInFlight)
        pollMessages();
}

void MainMenuVC::viewWillDisappear(bool) { stopPolling(); }

void MainMenuVC::showDevice()
{
    auto stored = core::DBManager::readSingleMobileDevice();
    std::optional<std::string> name = m_deviceDetail ? m_deviceDetail->deviceName : std::nullopt;
    if (!name && stored)
        name = stored->DeviceName;
    std::optional<int64_t> type = m_deviceDetail ? m_deviceDetail->deviceTypeID : std::nullopt;
    if (!type && stored)
        type = stored->deviceTypeID;

    setTitle(name.value_or(base::localized("home_page")));
    m_nameLabel->setText(name.value_or(""));
    m_serialLabel->setText(base::localized("serial_number") + ": " + core::Singleton::shared().lastSerialnumber());
    m_deviceImage->setImage(gfx::Image::named(isOneOf(type, watchTypes) ? "device_watch" : "device_tracker"));
    bool notLoaded = !m_deviceDetail && !m_detailFailure.empty();
    m_stateLabel->setHidden(!m_deviceDetail && !notLoaded);
    bool off = m_deviceDetail && m_deviceDetail->isSwitchedOff();
    const char* state = notLoaded ? "device_detail_not_loaded" : off ? "device_state_off" : "device_state_on";
    m_stateLabel->setText(base::localized(state));
    m_stateLabel->setTextColor(notLoaded || off ? gfx::Color::gray() : switchedOn);
}

void MainMenuVC::requestDeviceDetailAhead()
{
    BASE_ASSERT_MAIN_THREAD();
    m_detailRequestedAhead = true;
    requestDeviceDetail();
}

void MainMenuVC::requestDeviceDetail(FailureNotice notice)
{
    std::string serialNumber = core::Singleton::shared().lastSerialnumber();
    ++m_detailRequestsOnTheirWay;
    // The record, or the failure, of a device picked away from while it was on its way must not pass for the
    // current one's.
    auto ended = [weak = ui::weakFrom(this), serialNumber]() -> std::shared_ptr<MainMenuVC> {
        auto self = weak.lock();
        if (self)
            --self->m_detailRequestsOnTheirWay;
        return serialNumber == core::Singleton::shared().lastSerialnumber() ? self : nullptr;
    };
    core::WebCall::post(
        "GetDeviceDetial", base::Dictionary::make({ { "SerialNumber", serialNumber } }),
        [ended, notice](const std::string& reply) {
            if (auto self = ended())
                self->deviceDetailArrived(core::Tool::readDeviceDetailFromJson(reply), notice);
        },
        [ended, notice](const base::Error& error) {
            if (auto self = ended())
                self->deviceDetailFailed(&error, notice);
        });
}

void MainMenuVC::deviceDetailFailed(const base::Error* error, FailureNotice notice)
{
    m_detailFailure = core::LoadFailureNotice::textKey(error);
    if (notice == FailureNotice::Shown)
        core::LoadFailureNotice::show(view(), error);
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::DeviceDetailNotLoaded, nullptr,
        base::Dictionary::make({ { core::NotificationNames::DeviceDetailNotLoadedReasonKey, m_detailFailure } }));
    if (isViewLoaded())
        showDevice();
}

void MainMenuVC::deviceDetailArrived(std::shared_ptr<core::Device> device, FailureNotice notice)
{
    // Without a record the voice, attendance and challenge buttons do nothing: the user is told why.
    if (!device) {
        deviceDetailFailed(nullptr, notice);
        return;
    }
    m_detailFailure.clear();
    m_deviceDetail = device;
    auto& state = core::Singleton::shared();
    state.setDeviceDetail(device);
    if (device->deviceTypeID)
        state.setDeviceTypeID(device->deviceTypeID);
    base::NotificationCenter::defaultCenter().post(core::NotificationNames::PostDevice, device);
    // A reply to a request sent ahead may come before the views are built; their appearance shows it.
    if (isViewLoaded())
        showDevice();
}

void MainMenuVC::pollMessages()
{
    m_pollInFlight = true;
    core::IncomingMessages::poll([weak = ui::weakFrom(this)](bool answered) {
        if (auto self = weak.lock())
            self->pollFinished(answered);
    });
}

void MainMenuVC::pollFinished(bool answered)
{
    m_pollInFlight = false;
    if (!m_polling)
        return;
    // The service answers again: the record it could not give before may come now. The failure was said once.
    if (answered && !m_deviceDetail && m_detailRequestsOnTheirWay == 0)
        requestDeviceDetail(FailureNotice::Quiet);
    base::RunLoop::main().performAfter(
        messagePollDelay,
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock(); self && self->m_polling)
                self->pollMessages();
        },
        this);
}

void MainMenuVC::stopPolling()
{
    m_polling = false;
    base::RunLoop::main().cancelPerforms(this);
}

void MainMenuVC::openDeviceList()
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation)
        return;
    navigation->pushViewController(DeviceListVC::make([weak = ui::weakFrom(this)](const auto& device) {
        if (auto self = weak.lock())
            self->deviceChosen(*device);
    }),
        true);
}

void MainMenuVC::deviceChosen(const core::MobileDeviceAndLocation& device)
{
    BASE_ASSERT_MAIN_THREAD();
    makeCurrentDevice(device);
    // Nothing opens with the earlier device's record while the new one is on its way.
    m_deviceDetail = nullptr;
    m_detailFailure.clear();
    requestDeviceDetailAhead();
    // Stored before the home screen appears again, which reads the stored row.
    storeCurrentDevice(device);
}

void MainMenuVC::openMessageDetail()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto navigation = navigationController())
        navigation->pushViewController(MessageInfoVC::make(ui::weakFrom(this)), true);
}

void MainMenuVC::playVoiceMessage(const std::string& fileName, std::weak_ptr<voice::RecordAudioDelegate> listener)
{
    BASE_ASSERT_MAIN_THREAD();
    // Its file is still on its way: a second tap is the first one again.
    if (m_playingFile == fileName && m_fetchingFile)
        return;
    bool again = m_playingFile == fileName && m_recordAudio && m_recordAudio->isPlaying();
    stopPlay();
    if (again)
        return;
    m_playingFile = fileName;
    m_fetchingFile = true;
    chat::VoiceFileCache::fetchWatchVoice(
        fileName,
        [weak = ui::weakFrom(this), fileName, listener](const base::Data& amr) {
            // Another message tapped (or playback stopped) while this one was on its way: it is not played.
            if (auto self = weak.lock(); self && self->m_playingFile == fileName) {
                self->m_fetchingFile = false;
                self->play(amr, listener);
            }
        },
        [weak = ui::weakFrom(this), fileName] {
            if (auto self = weak.lock(); self && self->m_playingFile == fileName) {
                self->m_fetchingFile = false;
                self->m_playingFile.clear();
            }
        });
}

void MainMenuVC::play(const base::Data& amr, std::weak_ptr<voice::RecordAudioDelegate> listener)
{
    if (!m_recordAudio)
        m_recordAudio = std::make_shared<voice::RecordAudio>();
    // The earlier playback has been stopped and its listener told; this one's hears from now on.
    m_recordAudio->setDelegate(std::move(listener));
    m_recordAudio->play(amr);
}

void MainMenuVC::stopPlay()
{
    m_playingFile.clear();
    m_fetchingFile = false;
    if (m_recordAudio && m_recordAudio->isPlaying())
        m_recordAudio->stopPlay();
}

void MainMenuVC::pushScreen(const std::string& name)
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation)
        return;
    if (!m_deviceDetail) {
        // Until a request has failed, the record is on its way: the network is what holds it up.
        std::string_view reason = m_detailFailure.empty() ? std::string_view("bad_netword") : m_detailFailure;
        core::Helper::showNotify(false, base::localized(reason), view(), {});
        if (m_detailRequestsOnTheirWay == 0)
            requestDeviceDetail(FailureNotice::Quiet);
        return;
    }
    if (auto screen = ScreenDirectory::shared().make(name, m_deviceDetail, ScreenDirectory::Opening::Pushed))
        navigation->pushViewController(screen, true);
}

} // namespace shell
