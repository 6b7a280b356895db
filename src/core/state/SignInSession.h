// core::SignInSession: one sign-in of the run, and the owner of the rule that work belongs to the sign-in that
// started it. Every request, reply, queued job and timer that lives outside a screen (the message poll, a
// silent sign-in, a session renewal, a queued number send, the receipt upload, a web call waiting for a new
// session) takes the sign-in it starts under (current()) and asks, before it writes, sends or shows anything
// later, whether that sign-in is still the current one (isCurrent()). The user's own accepted sign-in (the
// login screen's) begins a new sign-in and Logout ends the open one, so either ends the work of the one before.
// Work whose sign-in has ended writes nothing that belongs to whoever is signed in now, sends nothing in their
// session and shows nothing on their screens; the messages a reply of it carries are filed under the account
// whose sign-in fetched them. Texts and records kept for the rest of the run are keyed by account as well as
// serial number, or forgotten when the sign-in ends. A screen's own work goes with the signed-in container,
// but an outcome that shows an alert or writes a record outlives its screen: whileCurrent() wraps it. Every
// holder of work or of one account's data, and how it keeps to this, is listed in SignInHolders.md beside this
// file; a new holder joins that list and its test table. A plain value; the current sign-in belongs to the main
// thread.
//
//   core::WebCall::post(method, body,
//       core::SignInSession::whileCurrent([](const std::string& reply) { show(reply); }),
//       core::SignInSession::whileCurrent([](const base::Error&) { showFailure(); }));
#pragma once

#include <cstdint>
#include <string>
#include <utility>

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

    // `settle` (an outcome of work that goes now and answers later), taking the sign-in current now: called
    // with whatever the work answers, it runs only while that sign-in is still the current one, so an answer
    // that comes after a sign-out or another sign-in shows nothing and writes nothing.
    template <typename Settle> static auto whileCurrent(Settle settle)
    {
        return [signIn = current(), settle = std::move(settle)](auto&&... answer) {
            if (signIn.isCurrent())
                settle(std::forward<decltype(answer)>(answer)...);
        };
    }
};

} // namespace core
