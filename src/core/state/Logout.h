// core::Logout: the one way out of an account. It ends the sign-in (SignInSession), and with it the work
// started under it, clears the session (the cookie setting, the shared client's "Cookie" header and the
// session's password), turns automatic sign-in off ("kAutoLogin" := "0"), forgets the current device (its
// serial number, type and detail record, the account's stored current-device rows and what the child-care
// screens kept of it, SettingsKeys::SignedInDeviceKeys) and the types of the account's devices, and posts NotificationNames::DidLogOut, on which the login screen forgets the
// re-login settings ("kReLoginName", "kRePassword"), so that no one is signed in again behind the user's back,
// and closes the signed-in container so that it shows. The account name, the remembered password and the
// stored messages stay. Main thread.
//
//   core::Logout::logOut();                 // settings centre, drawer menu
//   core::Logout::logOutKeepingPushToken(); // about screen
#pragma once

namespace core {

class Logout {
public:
    // First tells the server to stop pushing to this phone ("SaveAppleToken" with the blank token).
    static void logOut();
    // Leaves the server's push registration of this phone as it is.
    static void logOutKeepingPushToken();
};

} // namespace core
