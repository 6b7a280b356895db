#include "networking/http/CallsInFlight.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"

namespace networking {

namespace {

    struct Release {
        std::shared_ptr<std::atomic<size_t>> count;

        void operator()(const void*) const
        {
            --*count;
            if (!base::isMainThread())
                base::RunLoop::main().post([] {});
        }
    };

} // namespace

CallsInFlight::Ticket CallsInFlight::issue()
{
    ++*m_count;
    // The ticket owns no object: only its release matters.
    return Ticket(static_cast<const void*>(nullptr), Release { m_count });
}

} // namespace networking
