// core::SignInSession: one sign-in of the run, and the owner of the rule that work belongs to the sign-in that
// started it. Every request, reply, queued job and timer that lives outside a screen (the message poll, a
// silent sign-in, a session renewal, a queued number send, the receipt upload, a web call waiting for a new
// session) takes the sign-in it starts under (current()) and asks, before it writes, sends or shows anything
// later, whether that sign-in is still the current one (isCurrent()). The user's own accepted sign-in (the
// login screen's) begins a new sign-in and Logout ends the open one, so either ends the work of the one before.
// Work whose sign-in has ended writes nothing that belongs to whoever is signed in now, sends nothing in their
// session and shows nothing on their screens; the messages a reply of it carries are filed under the account
// whose sign-in fetched them. Texts and records kept for the rest of the run are keyed by account as well as
// serial number, or forgotten when the sign-in ends. Screens need none of this: they go with the signed-in
// container, and their work with them. A plain value; the current sign-in belongs to the main thread.
//
//   auto signIn = core::SignInSession::current();
//   core::WebCall::post(method, body, [signIn](const std::string& reply) {
//       if (signIn.isCurrent()) show(reply); }, {});
#pragma once

#include <cstdint>
#include <string>

namespace core {

struct SignInSession {
    // Counts the sign-ins and sign-outs of the run: each begin() and end() makes a new one.
    uint64_t generation { 0 };
    // The account signed in; "" when none is (before the first sign-in of the run and after a sign-out).
    std::string account;

    static SignInSession current();
    // After the service accepted the user's own sign-in to `account`.
    static void begin(const std::string& account);
    // At sign-out.
    static void end();

    // Whether no sign-in or sign-out came since this one was taken.
    [[nodiscard]] bool isCurrent() const;
    // Whether this is still the current sign-in and an account is signed in with it.
    [[nodiscard]] bool isOpen() const { return !account.empty() && isCurrent(); }
    // Whether this is still the current sign-in and `name` the account signed in with it.
    [[nodiscard]] bool isOpenFor(const std::string& name) const { return isOpen() && account == name; }
};

} // namespace core
