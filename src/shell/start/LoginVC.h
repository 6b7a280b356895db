// shell::LoginVC: the sign-in screen, the root of the application's window. It shows the account and
// password fields, the check boxes "remember_me" (checked) and "auto_login" (unchecked) and the sign-in
// button. Each time it appears it fills the fields with the remembered account (or the suggested one when
// none is remembered) and, when automatic sign-in is on and a password is remembered, signs in by itself.
//
// Signing in shows the busy overlay, posts "Login" (SignIn), keeps the account as the boxes say
// (RememberedAccount), asks "GetDeviceList" (building the signed-in container, makeSignedInContainer, while
// the list comes), makes the stored current device (else the first) the current device, has the home screen
// ask for it and presents the container animated. Each way of not getting there ends in the alert "prompt"
// with its own message: the service's refusal "login_failed" (when the remembered password is refused and a
// password change whose answer never came left a new one pending, that one is tried first); a sign-in the service could
// not answer "sign_in_unavailable"; a device list it could not give (a refusal, a reply with no list in it, a failed
// status) "get_device_failed"; a readable empty list "no_device"; a network failure "bad_netword".
// When the user logs out (core::Logout), and when asked to show itself (core::NotificationNames::ShowLogin,
// which signs nobody out), it closes the container, so that it shows again; when the service has dropped the
// session for good (core::NotificationNames::SessionExpired) it does the same and says so ("session_expired").
// Replies that come back after the screen has gone are dropped. Main thread; made with make().
//
//   auto login = shell::LoginVC::make();
//   window->setRootViewController(login);
#pragma once

#include "base/values/Error.h"
#include "core/service/SignIn.h"
#include "shell/start/SignedInContainer.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"

#include <memory>
#include <optional>
#include <string>

namespace kit {
class CheckBoxView;
class DrawerController;
class ProgressOverlay;
}
namespace ui {
class Button;
class TextField;
}

namespace shell {

class LoginVC : public ui::ViewController, public ui::TextFieldDelegate {
public:
    static std::shared_ptr<LoginVC> make();
    ~LoginVC() override;

    // The account the fields show when none is remembered.
    void setSuggestedAccount(std::string name, std::string password);

    // The sign-in button's action (also the password field's return key).
    void signIn();
    bool isSigningIn() const { return m_signingIn; }
    // The automatic sign-in box's target: automatic sign-in needs a remembered password.
    void autoLoginChanged(kit::CheckBoxView& box);

    const std::shared_ptr<ui::TextField>& accountField();
    const std::shared_ptr<ui::TextField>& passwordField();
    const std::shared_ptr<kit::CheckBoxView>& rememberBox();
    const std::shared_ptr<kit::CheckBoxView>& autoLoginBox();
    const std::shared_ptr<ui::Button>& signInButton();
    // The container this screen presents while signed in, else nullptr.
    std::shared_ptr<kit::DrawerController> signedInContainer() const;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

private:
    void buildFields();
    void signInFinished(core::SignIn::Outcome outcome, const std::string& name, const std::string& password);
    void deviceListArrived(const std::string& reply);
    void deviceListFailed(const base::Error& error);
    void fail(const char* messageKey);
    void hideBusyOverlay();
    void signedOut();
    void sessionExpired();
    void closeSignedInContainer();

    std::shared_ptr<ui::TextField> m_accountField;
    std::shared_ptr<ui::TextField> m_passwordField;
    std::shared_ptr<kit::CheckBoxView> m_rememberBox;
    std::shared_ptr<kit::CheckBoxView> m_autoLoginBox;
    std::shared_ptr<ui::Button> m_signInButton;
    std::shared_ptr<kit::ProgressOverlay> m_hud;
    // Built while the device list of an accepted sign-in comes; shown, or dropped on failure.
    SignedInContainer m_container;
    std::optional<std::pair<std::string, std::string>> m_suggested;
    // Set when a lost session could not be renewed: the next appearance shows the reason and does not sign
    // in by itself with the account the service has just refused.
    bool m_holdAutomaticSignIn { false };
    bool m_signingIn { false };
};

} // namespace shell
