// chat::VoiceUploadBody: the one multipart request that carries a voice message to the watch: a POST to the
// voice-upload root followed by "server/PushMessage.ashx", with the session cookie and the boundary
// "sjdfklslkdf". The body is written by hand, byte for byte as the receiving server reads it: the text parts
// "To", "From", "MsgType", "Context" (the platform's "(null)" for a missing value) and "IsTODevice" ("true"),
// each value straight after its head's blank line, then, only when there is file data, the AMR file under
// the head `name="File";filename="record.amr"` with the content type "image/png". Pure; any thread.
//
//   net::URLRequest request = chat::VoiceUploadBody::request(*message, amr);
#pragma once

#include "base/values/Value.h"
#include "core/messages/UserMessageQuery.h"
#include "net/http/URLRequest.h"

#include <optional>
#include <string>

namespace chat {

class VoiceUploadBody {
public:
    static constexpr const char* Boundary = "sjdfklslkdf";
    // The platform's text for a missing value.
    static constexpr const char* MissingValue = "(null)";

    static base::Data make(const core::UserMessageQuery& message, const std::optional<base::Data>& file);
    // The request to core::voiceUploadRoot(), with the "Cookie" header from the setting "kCookie".
    static net::URLRequest request(const core::UserMessageQuery& message, const std::optional<base::Data>& file);
};

} // namespace chat
