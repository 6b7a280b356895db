// shell::SignIn: one sign-in to the tracking service: "Login" with the account, the password and the push
// token. No push service exists here, so the token is the blank one (" "), as the push-token upload sends
// for none. The service accepts with the payload 1; every other answer, of whatever kind, is a refusal; a
// reply with no answer in it (not JSON, no "d", a null "d") fails as a transport fault does. An
// accepted sign-in keeps the session cookie of the reply's "Set-Cookie" header in the setting "kCookie",
// from where every later web call takes it, and posts "uploadReceipt" when a purchase receipt waits (the
// launch's post of it came before any session). The completion runs once, on the main thread. Main thread.
//
//   shell::SignIn::post(account, password, [weak = weak_from_this()](shell::SignIn::Outcome outcome) {
//       if (auto self = weak.lock()) self->signInFinished(outcome); });
#pragma once

#include <functional>
#include <string>

namespace shell {

class SignIn {
public:
    enum class Outcome { Accepted, Refused, Failed };
    using Completion = std::function<void(Outcome outcome)>;

    static constexpr const char* BlankToken = " ";

    static void post(const std::string& account, const std::string& password, Completion completion);
};

} // namespace shell
