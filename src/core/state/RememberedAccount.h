// core::RememberedAccount: what the sign-in keeps of an account and what the login screen fills in from
// it. After an accepted sign-in: the account ("kLoginName", and "kLoginName2", the signed-in account that
// owns the stored messages and device row), whether to sign in by itself next time ("kAutoLogin", "1" or
// "0"), and, when the user asked to be remembered, the password: in the keychain (service = the bundle
// identifier, account = the login name), in "kPassword", and as the account that signs in again silently
// when the application becomes active ("kReLoginName", "kRePassword"). A sign-in without remembering
// removes all three copies of the password.
//
// Whatever the boxes say, the password of the signed-in session stays in memory (sessionPassword), so that
// a password change can check the old password also when nothing was remembered. After an accepted change,
// passwordChanged() is the one writer of the new password: of the account the change was sent for, which
// need not be the one signed in when the reply comes.
//
// A change whose answer never comes (the run ended first, or the connection was lost) may still have been
// made, so while it is on its way the new password is kept beside the remembered one (in the keychain, under
// the service's pending-password name): a sign-in with the remembered password that is refused tries it
// (pendingPassword). The change's answer, and any accepted sign-in of the account, forget it. Nothing is kept
// for an account whose password is not remembered. Main thread.
//
//   core::RememberedAccount::save(name, password, rememberBox->checked(), autoLoginBox->checked());
//   auto remembered = core::RememberedAccount::read();
//   if (remembered.autoLogin && remembered.password) signIn();
#pragma once

#include <optional>
#include <string>

namespace core {

struct RememberedAccount {
    // "" when no account has signed in.
    std::string name;
    // The keychain's password of that account, when it was remembered.
    std::optional<std::string> password;
    bool autoLogin { false };

    static RememberedAccount read();
    // After an accepted sign-in; also makes `password` the session's, and keeps the server chosen for this
    // launch as the server of later launches.
    static void save(const std::string& name, const std::string& password, bool remember, bool autoLogin);

    // The password the signed-in session was opened with; "" before a sign-in and after a logout.
    static std::string sessionPassword();
    static void setSessionPassword(std::string password);
    // After the server accepted a new password for `account`, asked for with `oldPassword`: the account's
    // keychain item, and "kPassword" and "kRePassword" where they are that account's and held the old one, so
    // that its next sign-in works; the session's password only while that account is still signed in with it.
    static void passwordChanged(
        const std::string& account, const std::string& oldPassword, const std::string& newPassword);

    // Before a password change goes: keeps `newPassword` as the account's pending password when `oldPassword` is
    // the one remembered for it.
    static void passwordChangeSent(
        const std::string& account, const std::string& oldPassword, const std::string& newPassword);
    // The change's answer came: whatever it says, the service has decided.
    static void passwordChangeAnswered(const std::string& account);
    // The password to try after `refusedPassword` was refused for the account: the pending one, when the refused
    // one is the remembered password it was to replace.
    [[nodiscard]] static std::optional<std::string> pendingPassword(
        const std::string& account, const std::string& refusedPassword);

    // The account that signs in again when the application becomes active, when one is remembered.
    struct Credentials {
        std::string name;
        std::string password;
    };
    [[nodiscard]] static std::optional<Credentials> reLoginAccount();
    // After a logout the application no longer renews the session by itself.
    static void forgetReLoginAccount();
};

} // namespace core
