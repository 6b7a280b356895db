// core::SignIn: one sign-in to the tracking service: "Login" with the account, the password and the push
// token. No push service exists here, so the token is the blank one (" "), as the push-token upload sends
// for none. The service accepts with the payload 1 and refuses with any other number. Every other answer
// (no payload, null, a text, an object, an array, a body that is not JSON, a status outside 200-299, a reply
// from another server that a redirect led to) is the service's fault, and a transfer that does not complete
// (no network, a time-out, a dropped connection) a network failure: neither reads as a wrong password. An
// accepted sign-in keeps the session cookie of the reply's "Set-Cookie" header in the setting "kCookie", from
// where every later web call takes it, and posts "uploadReceipt" when a purchase receipt waits (it goes in a
// sign-in of the account that bought it). The user's own sign-in (post) begins a new sign-in (SignInSession)
// when it is accepted. A sign-in made behind the user's back for the open one (postWithin: the silent sign-in
// on becoming active, a session renewal) keeps its cookie only while that sign-in is still the current one
// and of the account it signed in; otherwise it keeps nothing and ends as Ended. The sign-in's own call never
// renews a session (SessionRenewal signs in with it). The completion runs once, on the main thread. Main
// thread.
//
//   core::SignIn::post(account, password, [weak = weak_from_this()](core::SignIn::Outcome outcome) {
//       if (auto self = weak.lock()) self->signInFinished(outcome); });
//   core::SignIn::postWithin(core::SignInSession::current(), account, password, renewed);
#pragma once

#include "core/state/SignInSession.h"

#include <functional>
#include <string>

namespace core {

class SignIn {
public:
    // Ended: accepted, but for a sign-in that had ended by then (postWithin only).
    enum class Outcome { Accepted, Refused, ServiceFault, NetworkFailure, Ended };
    using Completion = std::function<void(Outcome outcome)>;

    static constexpr const char* BlankToken = " ";

    static void post(const std::string& account, const std::string& password, Completion completion);
    static void postWithin(
        const SignInSession& signIn, const std::string& account, const std::string& password, Completion completion);
};

} // namespace core
