#include "database/BusyRetry.h"

#include <sqlite3.h>
#include <unistd.h>

namespace database {

bool BusyRetry::waitAndRetry(int retryLimit)
{
    auto now = std::chrono::steady_clock::now();
    if (!m_firstBusy)
        m_firstBusy = now;
    // The wall-time bound is judged before sleeping, so the first busy result always earns one retry however
    // late the sleep wakes on a loaded machine.
    bool withinTimeLimit = now - *m_firstBusy <= m_timeLimit;
    usleep(20);
    if (retryLimit != 0)
        return m_retries++ <= retryLimit;
    return withinTimeLimit;
}

bool BusyRetry::isBusy(int resultCode) { return resultCode == SQLITE_BUSY || resultCode == SQLITE_LOCKED; }

} // namespace database
