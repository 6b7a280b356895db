// database::BusyRetry: the waiting rule for SQLite's busy (5) and locked (6) results. After each such result
// the operation calls waitAndRetry(), which sleeps 20 microseconds and says whether to try again. A positive
// (or negative) limit N allows N + 1 retries; a limit of 0 retries until a wall-time bound has passed, so a
// lock held by another process can never freeze the caller for good. This is the one place that sleeps.
//
//   BusyRetry retry;
//   while (isBusy(rc = sqlite3_step(handle)))
//       if (!retry.waitAndRetry(database.busyRetryTimeout())) break;
#pragma once

#include <chrono>
#include <optional>

namespace database {

class BusyRetry {
public:
    static constexpr std::chrono::steady_clock::duration defaultTimeLimit = std::chrono::seconds(2);

    explicit BusyRetry(std::chrono::steady_clock::duration timeLimit = defaultTimeLimit)
        : m_timeLimit(timeLimit)
    {
    }

    // The limit is read afresh on every call, as a result set reads its database's setting at each retry.
    [[nodiscard]] bool waitAndRetry(int retryLimit);

    static bool isBusy(int resultCode);

private:
    std::chrono::steady_clock::duration m_timeLimit;
    std::optional<std::chrono::steady_clock::time_point> m_firstBusy;
    long m_retries { 0 };
};

} // namespace database
