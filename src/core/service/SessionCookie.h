// core::SessionCookie: the session cookie that a sign-in reply hands out in its "Set-Cookie" header, turned
// into the form the "Cookie" request header carries back ("name=value", several joined with "; "). The
// header may hold several cookies joined with ", " (as the URL-loading layer joins repeated fields); the
// attributes of each (path, expiry, HttpOnly, ...) stay behind. Pure; any thread.
//
//   std::string cookie = core::SessionCookie::fromSetCookie(*response.valueForHTTPHeaderField("Set-Cookie"));
//   core::Helper::saveSettingValue(base::Value(cookie), core::SettingsKeys::Cookie);
#pragma once

#include <string>
#include <string_view>

namespace core {

class SessionCookie {
public:
    // The "name=value" pairs of the cookies the header sets, in order; empty when it sets none.
    static std::string fromSetCookie(std::string_view header);
};

} // namespace core
