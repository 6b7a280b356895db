#include "database/BusyRetry.h"

#include <sqlite3.h>
#include <unistd.h>

namespace database {

bool BusyRetry::waitAndRetry(int retryLimit)
{
    auto now = std::chrono::steady_clock::now();
    if (!m_firstBusy)
        m_firstBusy = now;
    usleep(20);
    if (retryLimit != 0)
        return m_retries++ <= retryLimit;
    return std::chrono::steady_clock::now() - *m_firstBusy <= m_timeLimit;
}

bool BusyRetry::isBusy(int resultCode) { return resultCode == SQLITE_BUSY || resultCode == SQLITE_LOCKED; }

} // namespace database
