#include "chat/SendSoundCommandVC.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "core/helpers/KeyboardLift.h"
#include "core/helpers/PromptAlert.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/SignInSession.h"
#include "kit/modal/ModalPresenter.h"
#include "kit/modal/PanelReturn.h"
#include "ui/controls/Button.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"

#include <algorithm>

namespace chat {

namespace {

    constexpr int64_t soundCommandTypes[] = { 2, 13, 18, 20 };
    constexpr gfx::Color accent = gfx::Color::rgb(0.52, 0.8, 0.05);
    constexpr double fieldBottomReach = 32;
    constexpr double liftAllowance = 100;

    std::shared_ptr<ui::Button> makeButton(const gfx::Rect& frame, const std::string& title, gfx::Color colour)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setTitle(title, ui::ControlState::Normal);
        button->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
        button->setBackgroundColor(colour);
        button->layer()->setCornerRadius(4);
        return button;
    }

} // namespace

std::shared_ptr<SendSoundCommandVC> SendSoundCommandVC::make(std::shared_ptr<core::Device> device)
{
    BASE_ASSERT_MAIN_THREAD();
    auto panel = std::make_shared<SendSoundCommandVC>();
    panel->setDeviceDetail(std::move(device));
    return panel;
}

SendSoundCommandVC::~SendSoundCommandVC()
{
    if (m_keyboardLift)
        m_keyboardLift->stop();
}

std::map<std::string, std::string>& SendSoundCommandVC::unsentCommands()
{
    // Of the current sign-in only: the texts are its account's.
    static struct {
        core::SignInSession signIn;
        std::map<std::string, std::string> commands;
    } kept;
    if (!kept.signIn.isCurrent())
        kept = { core::SignInSession::current(), {} };
    return kept.commands;
}

bool SendSoundCommandVC::takesSoundCommands(const std::shared_ptr<core::Device>& device)
{
    BASE_ASSERT_MAIN_THREAD();
    return device && device->deviceTypeID
        && std::ranges::find(soundCommandTypes, *device->deviceTypeID) != std::end(soundCommandTypes);
}

const std::shared_ptr<ui::Button>& SendSoundCommandVC::doneBtn()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_doneBtn;
}

const std::shared_ptr<ui::Button>& SendSoundCommandVC::cancelBtn()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_cancelBtn;
}

const std::shared_ptr<ui::Label>& SendSoundCommandVC::titleLabel()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_titleLabel;
}

const std::shared_ptr<ui::TextField>& SendSoundCommandVC::commandField()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_commandField;
}

void SendSoundCommandVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    view()->setFrame({ { 0, 0 }, panelSize });
    view()->setBackgroundColor(gfx::Color::white());
    view()->layer()->setCornerRadius(6);

    m_titleLabel = std::make_shared<ui::Label>(gfx::Rect { 10, 12, panelSize.width - 20, 24 });
    m_titleLabel->setFont(gfx::Font::boldSystem(17));
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setText(base::localized("send_sound_command"));
    view()->addSubview(m_titleLabel);

    m_commandField = std::make_shared<ui::TextField>(gfx::Rect { 15, 56, panelSize.width - 30, 36 });
    m_commandField->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    m_commandField->setPlaceholder(base::localized("please_input_sound"));
    m_commandField->setDelegate(
        std::static_pointer_cast<ui::TextFieldDelegate>(ui::sharedFrom<SendSoundCommandVC>(this)));
    if (auto unsent = unsentCommands().find(serialNumber()); unsent != unsentCommands().end())
        m_commandField->setText(unsent->second);
    view()->addSubview(m_commandField);
    buildButtons();

    m_keyboardLift = core::KeyboardLift::make(view(), [weak = ui::weakFrom(this)](const gfx::Rect& frame, double) {
        auto self = weak.lock();
        if (!self)
            return frame.minY();
        double offset = (self->m_commandField->frame().minY() + fieldBottomReach)
            - (frame.height() - ui::Keyboard::shared().shownFrame().height());
        return offset >= 1 ? frame.minY() - offset + liftAllowance : frame.minY();
    });
    m_keyboardLift->start();
}

void SendSoundCommandVC::buildButtons()
{
    double width = (panelSize.width - 45) / 2;
    m_cancelBtn = makeButton({ 15, 116, width, 38 }, base::localized("cancel"), gfx::Color::gray());
    m_cancelBtn->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->dismissView();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_cancelBtn);
    m_doneBtn = makeButton({ 30 + width, 116, width, 38 }, base::localized("done"), accent);
    m_doneBtn->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->done();
        },
        ui::ControlEvent::TouchUpInside);
    view()->addSubview(m_doneBtn);
}

void SendSoundCommandVC::dismissView() { kit::ModalPresenter::sharedInstance()->hideAnimated(true); }

void SendSoundCommandVC::done()
{
    BASE_ASSERT_MAIN_THREAD();
    if (takesSoundCommands(m_deviceDetail))
        sendCommandForParvo();
}

void SendSoundCommandVC::sendCommandForParvo()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string serial = serialNumber();
    std::string text = m_commandField->text();
    unsentCommands().erase(serial);
    auto keep = [serial, text] {
        unsentCommands()[serial] = text;
        core::showPromptAlert("failure");
    };
    // The panel has closed by the time the answer comes: an answer to a sign-in that has ended shows nothing.
    core::WebCall::post(SendSoundCommandMethod,
        base::Dictionary::make({ { "Serialnumber", serial }, { "CommandText", text } }),
        core::SignInSession::whileCurrent([keep](const std::string& reply) {
            if (core::ServiceProtocol::isCommandAccepted(core::Tool::getDeciveStyleFrom(reply)))
                core::showPromptAlert("success");
            else
                keep();
        }),
        core::SignInSession::whileCurrent([keep](const base::Error&) { keep(); }));
    ui::Keyboard::shared().endEditing(view().get());
    kit::ModalPresenter::sharedInstance()->hideAnimated(true);
}

bool SendSoundCommandVC::textFieldShouldReturn(ui::TextField& field)
{
    BASE_ASSERT_MAIN_THREAD();
    return kit::returnInPanel(field, { m_commandField }, m_doneBtn);
}

std::string SendSoundCommandVC::serialNumber() const
{
    return m_deviceDetail ? m_deviceDetail->serialNumber.value_or("") : std::string();
}

} // namespace chat
