#include "shell/start/LoginVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/text/Localization.h"
#include "core/helpers/Helper.h"
#include "core/helpers/PromptAlert.h"
#include "core/readers/Tool.h"
#include "core/service/ServiceProtocol.h"
#include "core/service/WebCall.h"
#include "core/state/AccountDevices.h"
#include "core/state/NotificationNames.h"
#include "core/state/RememberedAccount.h"
#include "kit/drawer/DrawerController.h"
#include "kit/overlay/ProgressOverlay.h"
#include "kit/widgets/CheckBoxView.h"
#include "shell/menu/MainMenuVC.h"
#include "shell/start/CurrentDeviceChoice.h"
#include "shell/start/SignedInContainer.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controls/TextField.h"
#include "ui/view/View.h"

#include <utility>

namespace shell {

namespace {

    constexpr gfx::Color background = gfx::Color::rgb(0.23, 0.49, 0.04);
    constexpr gfx::Color buttonTitle = gfx::Color::rgb(0.23, 0.49, 0.04);
    constexpr double fieldX = 30;
    constexpr double fieldWidth = 260;

    std::shared_ptr<ui::TextField> makeField(double y, const char* placeholderKey)
    {
        auto field = std::make_shared<ui::TextField>(gfx::Rect { fieldX, y, fieldWidth, 40 });
        field->setBorderStyle(ui::TextBorderStyle::RoundedRect);
        field->setPlaceholder(base::localized(placeholderKey));
        field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
        field->setKeyboardType(ui::KeyboardType::ASCIICapable);
        return field;
    }

} // namespace

std::shared_ptr<LoginVC> LoginVC::make() { return std::make_shared<LoginVC>(); }

LoginVC::~LoginVC() { base::NotificationCenter::defaultCenter().removeObservers(this); }

void LoginVC::setSuggestedAccount(std::string name, std::string password)
{
    m_suggested = std::make_pair(std::move(name), std::move(password));
}

const std::shared_ptr<ui::TextField>& LoginVC::accountField()
{
    view();
    return m_accountField;
}

const std::shared_ptr<ui::TextField>& LoginVC::passwordField()
{
    view();
    return m_passwordField;
}

const std::shared_ptr<kit::CheckBoxView>& LoginVC::rememberBox()
{
    view();
    return m_rememberBox;
}

const std::shared_ptr<kit::CheckBoxView>& LoginVC::autoLoginBox()
{
    view();
    return m_autoLoginBox;
}

const std::shared_ptr<ui::Button>& LoginVC::signInButton()
{
    view();
    return m_signInButton;
}

std::shared_ptr<kit::DrawerController> LoginVC::signedInContainer() const
{
    return std::dynamic_pointer_cast<kit::DrawerController>(presentedViewController());
}

void LoginVC::viewDidLoad()
{
    const auto& root = view();
    root->setBackgroundColor(background);

    auto logo = std::make_shared<ui::ImageView>(gfx::Image::named("login_logo"));
    logo->setFrame({ 115, 52, 90, 90 });
    root->addSubview(logo);
    auto name = std::make_shared<ui::Label>(gfx::Rect { 0, 150, 320, 30 });
    name->setText(base::localized("app_name"));
    name->setFont(gfx::Font::boldSystem(22));
    name->setTextColor(gfx::Color::white());
    name->setTextAlignment(gfx::TextAlignment::Center);
    root->addSubview(name);

    buildFields();

    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::DidLogOut, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->signedOut();
        },
        this);
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::ShowLogin, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->closeSignedInContainer();
        },
        this);
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::SessionExpired, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->sessionExpired();
        },
        this);
}

void LoginVC::buildFields()
{
    const auto& root = view();
    auto self = ui::sharedFrom(this);

    m_accountField = makeField(204, "account");
    m_accountField->setReturnKeyType(ui::ReturnKeyType::Next);
    m_accountField->setDelegate(self);
    root->addSubview(m_accountField);
    m_passwordField = makeField(254, "password");
    m_passwordField->setSecureTextEntry(true);
    m_passwordField->setReturnKeyType(ui::ReturnKeyType::Go);
    m_passwordField->setDelegate(self);
    root->addSubview(m_passwordField);

    m_rememberBox = kit::CheckBoxView::make({ fieldX, 304, fieldWidth, 50 }, kit::CheckBoxView::Mono, true);
    m_rememberBox->setText(base::localized("remember_me"));
    root->addSubview(m_rememberBox);
    m_autoLoginBox = kit::CheckBoxView::make({ fieldX, 344, fieldWidth, 50 }, kit::CheckBoxView::Mono, false);
    m_autoLoginBox->setText(base::localized("auto_login"));
    m_autoLoginBox->setStateChangedTarget(self, &LoginVC::autoLoginChanged);
    root->addSubview(m_autoLoginBox);

    m_signInButton = std::make_shared<ui::Button>(gfx::Rect { fieldX, 396, fieldWidth, 44 });
    m_signInButton->setBackgroundColor(gfx::Color::white());
    m_signInButton->layer()->setCornerRadius(6);
    m_signInButton->setTitle(base::localized("login"), ui::ControlState::Normal);
    m_signInButton->setTitleColor(buttonTitle, ui::ControlState::Normal);
    m_signInButton->setTitleColor(buttonTitle.withAlpha(0.5), ui::ControlState::Highlighted);
    m_signInButton->titleLabel()->setFont(gfx::Font::boldSystem(18));
    m_signInButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->signIn();
        },
        ui::ControlEvent::TouchUpInside);
    root->addSubview(m_signInButton);
}

void LoginVC::viewWillAppear(bool)
{
    auto remembered = core::RememberedAccount::read();
    if (!remembered.name.empty()) {
        m_accountField->setText(remembered.name);
        m_passwordField->setText(remembered.password.value_or(""));
    } else if (m_suggested) {
        m_accountField->setText(m_suggested->first);
        m_passwordField->setText(m_suggested->second);
    }
    m_autoLoginBox->setChecked(remembered.autoLogin);
}

void LoginVC::viewDidAppear(bool)
{
    if (std::exchange(m_holdAutomaticSignIn, false))
        return;
    auto remembered = core::RememberedAccount::read();
    if (remembered.autoLogin && remembered.password && !presentedViewController())
        signIn();
}

bool LoginVC::textFieldShouldReturn(ui::TextField& field)
{
    if (&field == m_accountField.get())
        m_passwordField->becomeFirstResponder();
    else
        signIn();
    return true;
}

void LoginVC::autoLoginChanged(kit::CheckBoxView& box)
{
    if (box.checked())
        m_rememberBox->setChecked(true);
}

void LoginVC::signIn()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_signingIn || presentedViewController())
        return;
    std::string name = m_accountField->text();
    std::string password = m_passwordField->text();
    if (name.empty() || password.empty()) {
        core::showPromptAlert("account_password_empty");
        return;
    }
    m_signingIn = true;
    // The request goes out first: the service works on it while the keyboard goes and the busy overlay is
    // built and drawn.
    core::SignIn::post(name, password, [weak = ui::weakFrom(this), name, password](core::SignIn::Outcome outcome) {
        if (auto self = weak.lock())
            self->signInFinished(outcome, name, password);
    });
    m_accountField->resignFirstResponder();
    m_passwordField->resignFirstResponder();
    // A failure reported at once has ended the sign-in already, and no overlay is shown.
    if (!m_signingIn)
        return;
    m_hud = kit::ProgressOverlay::makeForView(view());
    core::Helper::showHUD(base::localized("logining"), view(), m_hud);
}

void LoginVC::signInFinished(core::SignIn::Outcome outcome, const std::string& name, const std::string& password)
{
    switch (outcome) {
    case core::SignIn::Outcome::Refused:
        if (auto changed = core::RememberedAccount::pendingPassword(name, password)) {
            // A password change whose answer never came may have been made: its new password is tried once.
            core::SignIn::post(name, *changed, [weak = ui::weakFrom(this), name, changed](core::SignIn::Outcome next) {
                if (auto self = weak.lock())
                    self->signInFinished(next, name, *changed);
            });
            return;
        }
        fail("login_failed");
        return;
    case core::SignIn::Outcome::ServiceFault:
        fail("sign_in_unavailable");
        return;
    case core::SignIn::Outcome::NetworkFailure:
    case core::SignIn::Outcome::Ended: // only a sign-in made for another ends so
        fail("bad_netword");
        return;
    case core::SignIn::Outcome::Accepted:
        break;
    }
    // The list call goes out first, so that its round trip overlaps the account's writes to disk.
    core::WebCall::post(
        core::ServiceProtocol::DeviceListMethod,
        base::Dictionary::make({ { core::ServiceProtocol::LoginNameKey, name } }),
        [weak = ui::weakFrom(this)](const std::string& reply) {
            if (auto self = weak.lock())
                self->deviceListArrived(reply);
        },
        [weak = ui::weakFrom(this)](const base::Error& error) {
            if (auto self = weak.lock())
                self->deviceListFailed(error);
        });
    core::RememberedAccount::save(name, password, m_rememberBox->checked(), m_autoLoginBox->checked());
    // The home screen is built while the list is on its way, so that only showing it is left for the reply.
    if (m_signingIn)
        m_container = makeSignedInContainer();
}

void LoginVC::deviceListArrived(const std::string& reply)
{
    base::Error unreadable;
    auto devices = core::Tool::readDeviceListFromJson(reply, &unreadable);
    auto chosen = chooseCurrentDevice(devices);
    if (!unreadable.isEmpty()) {
        deviceListFailed(unreadable);
        return;
    }
    if (!chosen) {
        fail("no_device");
        return;
    }
    core::AccountDevices::remember(devices);
    auto container = std::exchange(m_container, {});
    if (!container.drawer)
        container = makeSignedInContainer();
    container.home->requestDeviceDetailAhead();
    // Stored once the request is out, and before the home screen appears, which reads the stored row.
    storeCurrentDevice(*chosen);
    hideBusyOverlay();
    m_signingIn = false;
    presentViewController(container.drawer, true);
}

void LoginVC::deviceListFailed(const base::Error& error)
{
    base::log("sign-in: the device list failed: " + error.description());
    fail(core::WebCall::isServiceFault(error) ? "get_device_failed" : "bad_netword");
}

void LoginVC::fail(const char* messageKey)
{
    m_container = {};
    hideBusyOverlay();
    m_signingIn = false;
    core::showPromptAlert(messageKey);
}

void LoginVC::hideBusyOverlay()
{
    if (m_hud)
        m_hud->hide(true);
    m_hud.reset();
}

void LoginVC::signedOut()
{
    core::RememberedAccount::forgetReLoginAccount();
    closeSignedInContainer();
}

void LoginVC::sessionExpired()
{
    m_holdAutomaticSignIn = presentedViewController() != nullptr;
    closeSignedInContainer();
    core::showPromptAlert("session_expired");
}

void LoginVC::closeSignedInContainer()
{
    if (presentedViewController())
        dismissViewController(true);
}

} // namespace shell
