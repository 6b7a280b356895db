// core::NotificationNames: the names of the notifications that parts of the application post to each other
// through base::NotificationCenter, with what each carries as its object.
//
//   base::NotificationCenter::defaultCenter().post(core::NotificationNames::ReceiveRemoteNotification, message);
#pragma once

namespace core {

class NotificationNames {
public:
    // A fetched message has been stored; object: the UserMessageQuery.
    static constexpr const char* ReceiveRemoteNotification = "ReceiveRemoteNotification";
    // The silent sign-in on becoming active is done; no object.
    static constexpr const char* RecoverFrom = "notice_recover_from";
    // The current device's detail has been read; object: the shared Device record.
    static constexpr const char* PostDevice = "posetDevice";
    // The home screen's request for the current device's detail failed, or its reply could not be read; no
    // object; user info: under DeviceDetailNotLoadedReasonKey, the localisation key of why ("bad_netword" when
    // the service was not reached, "load_failed" when it answered).
    static constexpr const char* DeviceDetailNotLoaded = "LumetDeviceDetailNotLoaded";
    static constexpr const char* DeviceDetailNotLoadedReasonKey = "reason";
    // Another device has been made current; its record is not read yet, and every copy of the earlier one
    // must go; no object.
    static constexpr const char* CurrentDeviceChanged = "LumetCurrentDeviceChanged";
    // A purchase receipt waits to be granted by the server; no object.
    static constexpr const char* UploadReceipt = "uploadReceipt";
    // The user has logged out: the shell closes the signed-in container so the login screen shows; no object.
    static constexpr const char* DidLogOut = "LumetDidLogOut";
    // Asks the shell to show the login screen without logging out (the session settings and the remembered
    // account stay; the login screen behaves as on any appearance); no object.
    static constexpr const char* ShowLogin = "showLoginScreen";
    // The service dropped the session and no remembered account could renew it: the shell shows the login
    // screen with the reason; no object.
    static constexpr const char* SessionExpired = "LumetSessionExpired";
};

} // namespace core
