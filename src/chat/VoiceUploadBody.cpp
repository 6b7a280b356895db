#include "chat/VoiceUploadBody.h"

#include "base/text/URL.h"
#include "base/system/UserDefaults.h"
#include "core/service/ServiceProtocol.h"
#include "core/state/SettingsKeys.h"
#include "core/service/VoiceUploadRoot.h"

namespace chat {

namespace {

    constexpr size_t reserve = 512;

    void append(base::Data& body, std::string_view text) { body.insert(body.end(), text.begin(), text.end()); }

    std::string partHead(std::string_view name)
    {
        return "Content-Disposition: form-data; name=\"" + std::string(name) + "\"\r\n\r\n";
    }

    std::string separator() { return std::string("\r\n--") + VoiceUploadBody::Boundary + "\r\n"; }

    std::string textOf(const std::optional<std::string>& value)
    {
        return value.value_or(VoiceUploadBody::MissingValue);
    }

} // namespace

base::Data VoiceUploadBody::make(const core::UserMessageQuery& message, const std::optional<base::Data>& file)
{
    base::Data body;
    body.reserve((file ? file->size() : 0) + reserve);
    append(body, std::string("--") + Boundary + "\r\n");
    append(body, partHead("To") + textOf(message.to) + separator());
    append(body, partHead("From") + textOf(message.from) + separator());
    std::string type = message.msgType ? std::to_string(*message.msgType) : MissingValue;
    append(body, partHead("MsgType") + type + separator());
    append(body, partHead("Context") + textOf(message.context) + separator());
    append(body, partHead("IsTODevice") + "true");
    if (file) {
        append(body, separator());
        append(body,
            "Content-Disposition: form-data; name=\"File\";filename=\"record.amr\"\r\n"
            "Content-Type: image/png\r\n\r\n");
        body.insert(body.end(), file->begin(), file->end());
    }
    append(body, std::string("\r\n--") + Boundary + "--\r\n");
    return body;
}

net::URLRequest VoiceUploadBody::request(const core::UserMessageQuery& message, const std::optional<base::Data>& file)
{
    net::URLRequest request(base::URL::parse(core::voiceUploadRoot() + core::ServiceProtocol::VoiceUploadPath));
    request.setHTTPMethod("POST");
    if (auto cookie = base::UserDefaults::standard().stringForKey(core::SettingsKeys::Cookie))
        request.setValue(*cookie, "Cookie");
    request.setValue(std::string("multipart/form-data; boundary=") + Boundary, "Content-Type");
    request.setHTTPBody(make(message, file));
    return request;
}

} // namespace chat
