// core::ServiceProtocol: how the application and the local tracking service talk, in one place: the paths of
// the web methods and of the file endpoints, the reply envelope, the accepted texts, and the shapes
// of the replies that the application reads but nothing else fixes (sign-in, device list, server list, the
// message object). The readers (Tool) and the local service (tools/tracking-service) both include it, so the
// two cannot drift apart. Constants only; any thread.
//
//   std::string url = core::Singleton::shared().server() + core::ServiceProtocol::WebMethodPath + "GetDeviceList";
//   bool accepted = core::ServiceProtocol::isCommandAccepted(payload);
#pragma once

#include "base/values/Value.h"

#include <optional>
#include <string_view>

namespace core {

class ServiceProtocol {
public:
    // Web methods: POST <server root><WebMethodPath><method>, a JSON object (or nothing) as the body; the
    // reply is a JSON object whose payload stands under PayloadKey.
    static constexpr const char* WebMethodPath = "/Server/Mobileservice.asmx/";
    static constexpr const char* PayloadKey = "d";
    static constexpr const char* ReplyContentType = "application/json; charset=utf-8";
    // The payload of a command the server has taken on.
    static constexpr const char* CommandAccepted = "命令提交成功";
    // The payload of a setting the server has stored.
    static constexpr const char* SettingAccepted = "设置成功";

    // Files of the chosen server: GET <server root><DownloadPath>?<DownloadNameParameter>=<file name>.
    static constexpr const char* DownloadPath = "/Tools/LumetDow.ashx";
    static constexpr const char* DownloadNameParameter = "FileName";
    // The voice upload: multipart POST to <voice-upload root><VoiceUploadPath>.
    static constexpr const char* VoiceUploadPath = "server/PushMessage.ashx";

    // Sign-in: {"LoginName", "Password", "Token"}; the payload is LoginSucceeded on success, any other value
    // is a refusal. The session cookie comes in the reply's "Set-Cookie" header and goes back in "Cookie".
    static constexpr const char* LoginMethod = "Login";
    static constexpr const char* LoginNameKey = "LoginName";
    static constexpr const char* PasswordKey = "Password";
    static constexpr const char* TokenKey = "Token";
    static constexpr int LoginSucceeded = 1;
    static constexpr const char* SessionCookieName = "LumetSession";

    // The account's devices: {"LoginName"}; the payload is an array of device rows.
    static constexpr const char* DeviceListMethod = "GetDeviceList";
    static constexpr const char* DeviceSerialNumberKey = "SerialNumber";
    static constexpr const char* DeviceNameKey = "DeviceName";
    static constexpr const char* DeviceTypeIDKey = "DeviceTypeID";
    static constexpr const char* DeviceOnLineStateKey = "DeviceOnLineState";

    // The servers to choose from: no body; the payload is an array of {"Name", "Url", "Key"}.
    static constexpr const char* ServerListMethod = "GetServerList";
    static constexpr const char* ServerNameKey = "Name";
    static constexpr const char* ServerUrlKey = "Url";
    static constexpr const char* ServerKeyKey = "Key";

    // Waiting messages: no body; the payload is an array of message objects with these keys. "MsgType" is
    // an integer, "CreateTime" the service's date text "/Date(<milliseconds>)/".
    static constexpr const char* PopMessagesMethod = "PopManyQueryMessage";
    static constexpr const char* MessageIdKey = "_id";
    static constexpr const char* MessageContextKey = "Context";
    static constexpr const char* MessageDescKey = "Desc";
    static constexpr const char* MessageFromKey = "From";
    static constexpr const char* MessageToKey = "To";
    static constexpr const char* MessageFromIconNameKey = "FromIconName";
    static constexpr const char* MessageToIconNameKey = "ToIconName";
    static constexpr const char* MessageMsgTypeKey = "MsgType";
    static constexpr const char* MessageUrlKey = "Url";
    static constexpr const char* MessageCreateTimeKey = "CreateTime";
    // Descriptions that mark a watch's voice file and a new position.
    static constexpr const char* VoiceMarker = "[Lumet_434B_Voice]";
    static constexpr const char* LocationMarker = "[Lumet_004_Location]";

    // Whether a payload is exactly the accepted text: a number, null, another kind or no payload never is.
    static bool isCommandAccepted(const std::optional<base::Value>& payload)
    {
        return isText(payload, CommandAccepted);
    }
    static bool isSettingAccepted(const std::optional<base::Value>& payload)
    {
        return isText(payload, SettingAccepted);
    }

private:
    static bool isText(const std::optional<base::Value>& payload, std::string_view expected)
    {
        const std::string* text = payload ? payload->string() : nullptr;
        return text && *text == expected;
    }
};

} // namespace core
