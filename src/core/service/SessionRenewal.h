// core::SessionRenewal: gets a new session when the service has dropped the one the application holds (it was
// restarted, or the session ran out), so that web calls go on instead of failing until the next launch. A
// call refused with 401 although it carried the session cookie hands renew() the cookie it sent and a block
// to resume it with. The first such call signs the remembered account ("kReLoginName", "kRePassword") in
// again; the calls refused meanwhile wait for that one sign-in; once it is done each is resumed with
// whether a new session is there. A call sent with a cookie that has been renewed since goes again at once.
// All of it happens only within the sign-in (SignInSession) the call was sent under: a call whose sign-in has
// ended, or which went before any sign-in of the run, fails at once; a sign-out ends the renewal under way,
// and the calls waiting for it fail; the renewing sign-in keeps its session only while its sign-in is the
// current one. Without a remembered account of that sign-in, or when the service refuses it, the sign-in ends
// (and with it its work), the dropped session is forgotten (the setting "kCookie" emptied) and
// "LumetSessionExpired" asks the shell to show the login screen with the reason, once; a sign-in that fails on the network or the service's side leaves the
// session as it is, and the calls fail. This is not the silent sign-in on becoming active: that renews the
// session ahead of need. Main thread.
//
//   if (core::SessionRenewal::refusesSession(operation->response().get(), sentCookie))
//       return core::SessionRenewal::renew(sentCookie, signIn, [=](bool renewed) { renewed ? again() : fail(); });
#pragma once

#include "core/state/SignInSession.h"

#include <functional>
#include <string>

namespace net {
class HTTPResponse;
}

namespace core {

class SessionRenewal {
public:
    using Resume = std::function<void(bool renewed)>;

    // Whether a reply refuses a call for want of a session: a status of 401 to a call that carried a session
    // cookie (a call without one was not signed in to begin with).
    static bool refusesSession(const net::HTTPResponse* response, const std::string& sentCookie);

    // `signIn`: the sign-in the refused call was sent under.
    static void renew(const std::string& expiredCookie, const SignInSession& signIn, Resume resume);
};

} // namespace core
