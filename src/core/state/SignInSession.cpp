#include "core/state/SignInSession.h"

#include "base/loop/MainThread.h"

namespace core {

namespace {

    SignInSession& now()
    {
        static SignInSession session;
        return session;
    }

} // namespace

SignInSession SignInSession::current()
{
    BASE_ASSERT_MAIN_THREAD();
    return now();
}

void SignInSession::begin(const std::string& account)
{
    BASE_ASSERT_MAIN_THREAD();
    now() = { now().generation + 1, account };
}

void SignInSession::end()
{
    BASE_ASSERT_MAIN_THREAD();
    now() = { now().generation + 1, "" };
}

bool SignInSession::isCurrent() const
{
    BASE_ASSERT_MAIN_THREAD();
    return generation == now().generation;
}

} // namespace core
